#include "controls/flattoolbutton.h"

#include <QPalette>

namespace controls {

FlatToolButton::FlatToolButton(QWidget *parent) : QToolButton(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    setAutoRaise(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Button, Qt::white);
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
}

} // namespace controls
