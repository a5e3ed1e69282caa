#pragma once

#include <QComboBox>

namespace controls {

// A drop-down list the user can only choose from. Every change of the selection that the user
// makes (a click in the dropped list, the arrow keys on the closed or the dropped list, the
// wheel) raises userSelectionChanged(); selections made by the program raise nothing. The
// dropped list shows up to 20 rows of 12 pixels.
class DropDownList : public QComboBox {
    Q_OBJECT
public:
    static constexpr int kDroppedRows = 20;
    static constexpr int kRowHeight = 12;

    explicit DropDownList(QWidget *parent = nullptr);
    ~DropDownList() override;

    // Replaces all items and leaves the list without a selection. Each item shows its text
    // and keeps its data, which itemData() returns as given.
    void setItems(const QStringList &texts, const QList<QVariant> &data);

    int itemIndex() const { return currentIndex(); }
    // Selects by program: the index itself when it names an item, else no selection.
    void setItemIndex(int index);

signals:
    void userSelectionChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Selection by the program goes through setItemIndex, which raises nothing.
    using QComboBox::setCurrentIndex;
    using QComboBox::setCurrentText;

    bool m_byProgram = false;
};

} // namespace controls
