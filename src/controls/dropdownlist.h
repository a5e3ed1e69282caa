#pragma once

#include <QComboBox>

namespace controls {

// A drop-down list the user can only choose from. Selections made by the user raise
// userSelectionChanged(); selections made by the program raise nothing.
class DropDownList : public QComboBox {
    Q_OBJECT
public:
    explicit DropDownList(QWidget *parent = nullptr);

    // Replaces all items and leaves the list without a selection. Each item shows its text
    // and keeps its data, which itemData() returns as given.
    void setItems(const QStringList &texts, const QList<QVariant> &data);

    int itemIndex() const { return currentIndex(); }
    // Selects by program: the index itself when it names an item, else no selection.
    void setItemIndex(int index);

signals:
    void userSelectionChanged();

private:
    bool m_byProgram = false;
};

} // namespace controls
