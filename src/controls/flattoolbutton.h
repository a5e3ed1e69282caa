#pragma once

#include <QToolButton>

namespace controls {

// A flat tool button with its picture above the caption. It never takes the keyboard focus,
// so pressing it leaves the focus (and the selection) where the user had it.
class FlatToolButton : public QToolButton {
    Q_OBJECT
public:
    explicit FlatToolButton(QWidget *parent = nullptr);
};

} // namespace controls
