#include "Unit1.h"

#include "anthology/entries.h"
#include "anthology/textfiles.h"
#include "app/messagebox.h"
#include "gbk/codec.h"

#include <QCloseEvent>
#include <QFont>
#include <QKeyEvent>

TForm1 *Form1 = nullptr;

namespace {
constexpr int kTimerInterval = 60000;
constexpr QRgb kWindowColor = 0xE1E1E1; // 14803425

QFont songFont(int pixels)
{
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(pixels);
    return font;
}
} // namespace

TForm1::TForm1(QWidget *parent) : QWidget(parent), Timer1(new QTimer(this))
{
    setupUi(this);
    // A fixed window: a close box, but no minimise or maximise box.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(538, 657);
    setFont(songFont(12));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(kWindowColor));
    setPalette(pal);
    setAutoFillBackground(true);
    for (QFrame *panel : {Panel1, Panel2, Panel3, Panel4, Panel5})
        panel->setAutoFillBackground(true);
    SpinEdit1->setFont(songFont(14));
    Edit4->setFont(songFont(12));
    memo3->setFocus();

    Timer1->setInterval(kTimerInterval);
    Timer1->start();

    connectHandlers();

    // Creation never fails: an error ends the creation handler, is reported, and the window
    // opens with whatever the handler had set up to then.
    app::runHandler([this] { FormCreate(this); });
}

TForm1::~TForm1()
{
    if (Form1 == this)
        Form1 = nullptr;
}

template <typename Sender, typename Signal>
void TForm1::connectHandler(Sender *sender, Signal signal, void (TForm1::*handler)(QObject *))
{
    connect(sender, signal, this,
            [this, sender, handler] { app::runHandler([&] { (this->*handler)(sender); }); });
}

void TForm1::connectHandlers()
{
    connectHandler(listbox1, &controls::DropDownList::userSelectionChanged, &TForm1::ListBox1Click);
    connectHandler(Button1, &QPushButton::clicked, &TForm1::ListBox1Click);
    connectHandler(FlatSpeedButton58, &QToolButton::clicked, &TForm1::FlatSpeedButton58Click);
    connectHandler(FlatSpeedButton59, &QToolButton::clicked, &TForm1::FlatSpeedButton59Click);
    connectHandler(SpinEdit1, &QSpinBox::valueChanged, &TForm1::SpinEdit1Change);
    connectHandler(FlatSpeedButton12, &QToolButton::clicked, &TForm1::FlatSpeedButton12Click);
    connectHandler(FlatSpeedButton13, &QToolButton::clicked, &TForm1::FlatSpeedButton13Click);
    connectHandler(FlatSpeedButton9, &QToolButton::clicked, &TForm1::FlatSpeedButton9Click);
    connectHandler(FlatSpeedButton10, &QToolButton::clicked, &TForm1::FlatSpeedButton10Click);
    connectHandler(FlatSpeedButton11, &QToolButton::clicked, &TForm1::FlatSpeedButton11Click);
    connectHandler(n44, &QCheckBox::toggled, &TForm1::n44Click);
    // A radio button's handler runs only when it becomes checked.
    const auto onChecked = [this](QRadioButton *button, void (TForm1::*handler)(QObject *)) {
        connect(button, &QRadioButton::toggled, this, [this, button, handler](bool checked) {
            if (checked)
                app::runHandler([&] { (this->*handler)(button); });
        });
    };
    onChecked(n33, &TForm1::n33Click);
    onChecked(n38, &TForm1::n38Click);
    onChecked(n39, &TForm1::n39Click);
    connectHandler(FlatSpeedButton1, &QToolButton::clicked, &TForm1::FlatSpeedButton1Click);
    connectHandler(FlatSpeedButton2, &QToolButton::clicked, &TForm1::FlatSpeedButton2Click);
    connectHandler(FlatButton1, &QPushButton::clicked, &TForm1::FlatButton1Click);
    connectHandler(Timer1, &QTimer::timeout, &TForm1::Timer1Timer);
    connectHandler(memo3, &TSynEditor::dblClick, &TForm1::memo3DblClick);
    // Characters typed into the search box pass through Edit4KeyPress (eventFilter).
    Edit4->installEventFilter(this);
}

bool TForm1::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Edit4 && event->type() == QEvent::KeyPress) {
        const QString text = static_cast<QKeyEvent *>(event)->text();
        if (text.size() == 1) {
            QChar key = text.at(0);
            app::runHandler([&] { Edit4KeyPress(Edit4, key); });
            // The handler swallows a character by replacing it with the null character.
            if (key.isNull())
                return true;
            if (key != text.at(0) && key.isPrint()) {
                Edit4->insert(QString(key));
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TForm1::FormCreate(QObject *)
{
    // Settings file and banner come first; both arrive with their own windows' work.
    loadEntryList();
    loadText(anthology::kCurrentTextFileName);
    // The stored presentation and selection are applied here once the settings file exists.
}

void TForm1::FormClose(QObject *, TCloseAction &)
{
    saveEntryList();
    saveText(anthology::kCurrentTextFileName);
}

void TForm1::closeEvent(QCloseEvent *event)
{
    TCloseAction action = caHide;
    try {
        FormClose(this, action);
    } catch (const std::exception &error) {
        // The close is abandoned: the window stays open with all its state.
        event->ignore();
        app::reportError(error);
        return;
    }
    if (action == caNone)
        event->ignore();
    else
        event->accept();
}

void TForm1::loadEntryList()
{
    const QByteArray bytes = anthology::readFile(anthology::kEntryListFileName);
    bool cutByNul = false;
    const QList<QByteArray> items = anthology::splitEntryList(bytes, &cutByNul);
    QStringList texts;
    QList<QVariant> data;
    texts.reserve(items.size());
    data.reserve(items.size());
    for (const QByteArray &item : items) {
        texts.append(gbk::toUnicode(item));
        data.append(item);
    }
    listbox1->setItems(texts, data);
    m_entryListReadWhole = !cutByNul;
}

void TForm1::saveEntryList()
{
    if (!m_entryListReadWhole)
        return;
    QList<QByteArray> items;
    items.reserve(listbox1->count());
    for (int i = 0; i < listbox1->count(); ++i)
        items.append(listbox1->itemData(i).toByteArray());
    anthology::writeFile(anthology::kEntryListFileName, anthology::joinEntryList(items));
}

void TForm1::loadText(const QString &fileName)
{
    memo3->setTextLines(anthology::splitText(anthology::readFile(fileName)));
}

void TForm1::saveText(const QString &fileName)
{
    anthology::writeFile(fileName, anthology::joinText(memo3->textLines()));
}

void TForm1::ListBox1Click(QObject *)
{
    const int index = listbox1->itemIndex();
    if (index >= 0 && index < anthology::kEntryCount)
        loadText(anthology::entryFileName(index));
}

void TForm1::FlatSpeedButton58Click(QObject *)
{
    listbox1->setItemIndex(listbox1->itemIndex() - 1);
    Button1->click();
}

void TForm1::FlatSpeedButton59Click(QObject *)
{
    listbox1->setItemIndex(listbox1->itemIndex() + 1);
    Button1->click();
}

void TForm1::SpinEdit1Change(QObject *) {}
void TForm1::FlatSpeedButton12Click(QObject *) {}
void TForm1::FlatSpeedButton13Click(QObject *) {}
void TForm1::FlatSpeedButton9Click(QObject *) {}
void TForm1::FlatSpeedButton10Click(QObject *) {}
void TForm1::FlatSpeedButton11Click(QObject *) {}
void TForm1::n44Click(QObject *) {}
void TForm1::n33Click(QObject *) {}
void TForm1::n38Click(QObject *) {}
void TForm1::n39Click(QObject *) {}
void TForm1::FlatSpeedButton1Click(QObject *) {}
void TForm1::FlatSpeedButton2Click(QObject *) {}
void TForm1::FlatButton1Click(QObject *) {}
void TForm1::Edit4KeyPress(QObject *, QChar &) {}
void TForm1::Timer1Timer(QObject *) {}
void TForm1::memo3DblClick(QObject *) {}
