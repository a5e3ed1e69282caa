#include "controls/dropdownlist.h"

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
} // namespace

DropDownList::DropDownList(QWidget *parent) : QComboBox(parent)
{
    setEditable(false);
    setMaxVisibleItems(20);
    connect(this, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_byProgram)
            emit userSelectionChanged();
    });
}

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

} // namespace controls
