#include "controls/dropdownlist.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QProxyStyle>
#include <QStyledItemDelegate>

#include <algorithm>

namespace controls {

namespace {
class ProgramChange {
public:
    explicit ProgramChange(bool &flag) : m_flag(flag), m_old(flag) { m_flag = true; }
    ~ProgramChange() { m_flag = m_old; }

private:
    bool &m_flag;
    bool m_old;
};

// Some styles drop a list over the combo box, sized to fit every item; ours is a list of a
// fixed number of rows below the box.
class ListBelowStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returned) const override
    {
        if (hint == SH_ComboBox_Popup)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returned);
    }
};

class FixedRowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(DropDownList::kRowHeight);
        return size;
    }
};
} // namespace

DropDownList::DropDownList(QWidget *parent) : QComboBox(parent)
{
    auto *style = new ListBelowStyle;
    style->setParent(this);
    setStyle(style);
    setEditable(false);
    setMaxVisibleItems(kDroppedRows);
    setItemDelegate(new FixedRowDelegate(this));
    view()->installEventFilter(this);
    connect(this, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_byProgram)
            emit userSelectionChanged();
    });
}

DropDownList::~DropDownList() = default;

void DropDownList::setItems(const QStringList &texts, const QList<QVariant> &data)
{
    ProgramChange change(m_byProgram);
    setUpdatesEnabled(false);
    clear();
    for (qsizetype i = 0; i < texts.size(); ++i)
        addItem(texts[i], i < data.size() ? data[i] : QVariant());
    // Adding to an empty combo box selects the first item; the list starts unselected.
    setCurrentIndex(-1);
    setUpdatesEnabled(true);
}

void DropDownList::setItemIndex(int index)
{
    ProgramChange change(m_byProgram);
    setCurrentIndex(index >= 0 && index < count() ? index : -1);
}

bool DropDownList::eventFilter(QObject *watched, QEvent *event)
{
    // In the dropped list the arrow keys select as they go, as on the closed list, instead of
    // only moving the highlight until Return.
    if (watched == view() && event->type() == QEvent::KeyPress && count() > 0) {
        const auto *key = static_cast<QKeyEvent *>(event);
        // From the highlighted row, which the mouse may have moved; from before the first row
        // while nothing is selected.
        const int from = currentIndex() >= 0 && view()->currentIndex().isValid()
                             ? view()->currentIndex().row()
                             : currentIndex();
        int to = from;
        switch (key->key()) {
        case Qt::Key_Up:
            to = from - 1;
            break;
        case Qt::Key_Down:
            to = from + 1;
            break;
        case Qt::Key_PageUp:
            to = from - (kDroppedRows - 1);
            break;
        case Qt::Key_PageDown:
            to = from + (kDroppedRows - 1);
            break;
        case Qt::Key_Home:
            to = 0;
            break;
        case Qt::Key_End:
            to = count() - 1;
            break;
        default:
            return QComboBox::eventFilter(watched, event);
        }
        if (key->modifiers() & (Qt::AltModifier | Qt::ControlModifier))
            return QComboBox::eventFilter(watched, event);
        to = std::clamp(to, 0, count() - 1);
        view()->setCurrentIndex(model()->index(to, modelColumn(), rootModelIndex()));
        if (to != currentIndex())
            setCurrentIndex(to);
        return true;
    }
    return QComboBox::eventFilter(watched, event);
}

} // namespace controls
