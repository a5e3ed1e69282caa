#include "controls/flattoolbutton.h"

namespace controls {

FlatToolButton::FlatToolButton(QWidget *parent) : QToolButton(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    setAutoRaise(true);
}

} // namespace controls
