// The one-employee view of the entry grid: the items of one employee as
// rows of caption and value, cmdFront and cmdAfter stepping to the
// previous and next employee of the main grid (recalculated), the value
// typed in with the grid's rules; 计算过程 shows how the row comes about. With the per-employee exceptions on, a
// formula item takes a value for this employee alone.
#pragma once

#include "core/prompt.h"
#include "monthly/entry.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;
class frmTrace;

class frmInput : public QDialog {
    Q_OBJECT
public:
    frmInput(gzgl::monthly::SalaryEntry& entry, gzgl::Prompt& p, int gridRow, QWidget* parent = nullptr);

    int gridRow() const { return row_; }
    QTableWidget* items() const { return msfItems; }
    // Types text into the value of the item row (as finishing the cell's
    // editor does); false when refused.
    bool enter(int itemRow, const QString& text);
    void showRow(int gridRow);
    // 计算过程 of the employee shown.
    frmTrace* openTrace();

signals:
    // The main grid's row changed (a value stored, a recalculation).
    void rowChanged(int gridRow);

private:
    void fill();
    void valueEdited(QTableWidgetItem* item);

    gzgl::monthly::SalaryEntry& e_;
    gzgl::Prompt& p_;
    int row_;
    QLabel *lblEmpNo, *lblEmpName;
    QTableWidget* msfItems;
    QPushButton *cmdFront, *cmdAfter, *cmdClose;
    bool filling_ = false;
};
