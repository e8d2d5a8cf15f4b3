#pragma once

// The list grid "MSFlexGrid1" of the main window: the header row and the number
// column drawn as headings (the view's two headers, with "No." in the corner
// between them), the persons below, and a current row that the list commands
// act on.
//
// Rows are counted as the grid counts them: row 0 is the header row, person p
// stands in row p. The current row is 0 at start and whenever no person row is
// current; clicks on the header row or on the number column never change it,
// and giving the grid the keyboard focus does not pick a row either.
//
// The persons live in PersonGridModel; this class only draws them and keeps the
// current cell.
//
// While the grid has the keyboard focus its list area is framed by a dotted
// line, also when the list is empty or the current row is out of sight: the
// dotted current cell alone would leave the focus unseen there.

#include "personlist/person_grid_model.h"

#include <QTableView>

#include <array>

namespace personlist {

class PersonGrid final : public QTableView {
    Q_OBJECT

public:
    // Grid columns 0 (the number column) to 4, in the proportion 5 : 18 : 10 : 5 : 5.
    static constexpr std::array<int, PersonGridModel::ColumnCount + 1> ColumnWidths = {33, 120, 67, 33, 33};
    static constexpr int RowHeight = 17;

    explicit PersonGrid(QWidget* parent = nullptr);

    // The number column's width: its own 33 pixels, or more once the largest
    // number in it, lastRow, needs more room in the given face, so that a list
    // of 13 million persons shows "13000000" whole, not its last four digits.
    static int numberColumnWidth(const QFontMetrics& metrics, int lastRow);

    PersonGridModel& model() { return m_model; }
    const PersonGridModel& model() const { return m_model; }

    // 0 for the header row, p for person p.
    int currentRow() const;
    int lastRow() const { return m_model.rowCount(); }
    // Makes row current (0: the header row) and scrolls it into view; the current
    // column is kept where there is one.
    void setCurrentRow(int row);

    // No search by typing: a letter never moves the current row.
    void keyboardSearch(const QString& search) override;

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event = nullptr) const override;
    void focusInEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    PersonGridModel m_model;
    QWidget* m_corner = nullptr;  // the top-left cell, over the number column
};

}  // namespace personlist
