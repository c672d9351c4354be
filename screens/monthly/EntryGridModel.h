// The entry grid's table model: a view straight over the screen's working
// grid (employee rows from grid row 2; the captions as the column headings,
// the codes as their tool tips or beside the captions), so ten thousand
// rows cost nothing to show and an edited row repaints alone.
#pragma once

#include "monthly/entry.h"
#include "screens/session/GridWidths.h"

#include <QAbstractTableModel>
#include <QTableView>

class EntryGridModel : public QAbstractTableModel, public Utf8CellSource {
    Q_OBJECT
public:
    EntryGridModel(const gzgl::monthly::SalaryEntry& entry, QObject* parent = nullptr)
        : QAbstractTableModel(parent), e_(entry) {}

    // The grid was rebuilt.
    void reload();
    // Grid row r (2 = the first employee) changed.
    void gridRowChanged(int r);
    static int gridRow(int modelRow) { return modelRow + gzgl::calc::kFirstEmployeeRow; }
    static int modelRow(int gridRow) { return gridRow - gzgl::calc::kFirstEmployeeRow; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;
    const std::string* utf8Cell(int row, int column) const override {
        return &e_.grid().cell(gridRow(row), column);
    }

private:
    const gzgl::monthly::SalaryEntry& e_;
};

// The grid view: the edit box takes the focus from it at every edit, and a
// plain view repaints all its visible cells on each change of focus; only
// the current cell changes its look, so only it is repainted.
class EntryGridView : public QTableView {
    Q_OBJECT
public:
    using QTableView::QTableView;

protected:
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
};
