#pragma once

#include "ui_Form1.h"

#include <QByteArray>
#include <QTimer>
#include <QWidget>

class QCloseEvent;

// What the window does once its close handler returns.
enum TCloseAction { caNone, caHide, caFree, caMinimize };

// The main window: the entry list, the text view, the presentation commands, the poet search
// and the banner. Every user action is one of the handler methods below, connected to its
// control in the constructor.
class TForm1 : public QWidget, public Ui::TForm1 {
    Q_OBJECT
public:
    explicit TForm1(QWidget *parent = nullptr);
    ~TForm1() override;

    QTimer *Timer1;

    void FormCreate(QObject *Sender);
    void ListBox1Click(QObject *Sender);
    void FlatSpeedButton58Click(QObject *Sender);
    void FlatSpeedButton59Click(QObject *Sender);
    void SpinEdit1Change(QObject *Sender);
    void FlatSpeedButton12Click(QObject *Sender);
    void FlatSpeedButton13Click(QObject *Sender);
    void FlatSpeedButton9Click(QObject *Sender);
    void FlatSpeedButton10Click(QObject *Sender);
    void FlatSpeedButton11Click(QObject *Sender);
    void FormClose(QObject *Sender, TCloseAction &Action);
    void n44Click(QObject *Sender);
    void n33Click(QObject *Sender);
    void n38Click(QObject *Sender);
    void n39Click(QObject *Sender);
    void FlatSpeedButton1Click(QObject *Sender);
    void FlatSpeedButton2Click(QObject *Sender);
    void FlatButton1Click(QObject *Sender);
    void Edit4KeyPress(QObject *Sender, QChar &Key);
    void Timer1Timer(QObject *Sender);
    void memo3DblClick(QObject *Sender);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void connectHandlers();
    template <typename Sender, typename Signal>
    void connectHandler(Sender *sender, Signal signal, void (TForm1::*handler)(QObject *));
    void loadEntryList();
    void saveEntryList();
    void loadText(const QString &fileName);
    void saveText(const QString &fileName);

    // Whether start-up read the whole entry list file; a list read in part (or not at all) is
    // never written back over the user's file.
    bool m_entryListReadWhole = false;
};

// The main window, from its creation to the end of the run.
extern TForm1 *Form1;
