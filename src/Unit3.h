#pragma once

#include "ui_Form3.h"

#include <QWidget>

// The reading window: the main window's text in a window that fills the screen.
class TForm3 : public QWidget, public Ui::TForm3 {
    Q_OBJECT
public:
    explicit TForm3(QWidget *parent = nullptr);

    void FormCreate(QObject *Sender);
};

// The reading window created last.
extern TForm3 *Form3;
