// 工资项目定义及公式设置: the item list, the formula page and the income-tax
// page on the tab strip tbsOptions. Every rule is in items/; this class reads
// its controls, calls the engine and shows what comes back.
#pragma once

#include "core/prompt.h"
#include "core/session.h"
#include "items/cumulative_tax.h"
#include "items/taxrates.h"

#include <QWidget>

#include <optional>

class QComboBox;
class QLineEdit;
class QListWidget;
class QStackedWidget;
class QPushButton;
class QTabWidget;
class QTableWidget;
class QTableWidgetItem;
class frmAddOption;
class frmAlterOption;

class frmOption : public QWidget {
    Q_OBJECT
public:
    frmOption(gzgl::Session& s, gzgl::Prompt& p, QWidget* parent = nullptr);

    // Reloads the item list and the formula page's item list.
    void reloadItems();
    void reloadFormulas();
    void reloadTaxRows();
    // The tax page's method box, the annual table and the item choices.
    void reloadCumulative();

    // The add and change dialogs, opened window-modal over this screen.
    frmAddOption* openAddDialog();
    frmAlterOption* openAlterDialog();

private:
    QWidget* buildItemPage();
    QWidget* buildFormulaPage();
    QWidget* buildTaxPage();

    std::string selectedItemCode() const;
    void deleteItem();
    void moveItem(bool up);

    std::string waitingCode() const;
    std::optional<int> selectedLineId() const;
    void lineClicked(int row);
    void putFormula();
    void removeFormula();
    void moveFormula(bool up);
    void generateTax();
    void selectLine(int id);

    QWidget* buildMonthlyTaxPage();
    QWidget* buildCumulativePage();
    void methodChosen(int index);
    void showMethod();

    // The bracket grids (msfRate and msfYearRate) edit alike: a cell takes
    // only what acceptTaxCell accepts and keeps its accepted text in
    // Qt::UserRole, so that a refused entry can be taken back.
    void connectBracketGrid(QTableWidget* grid);
    // 插入一行 and 删除一行 of a bracket grid.
    void connectRowButtons(QTableWidget* grid, QPushButton* insert, QPushButton* remove);
    void taxCellChanged(QTableWidgetItem* cell);
    void setTaxCell(QTableWidget* grid, int row, int col, const QString& text);
    void fillBrackets(QTableWidget* grid, const std::vector<gzgl::items::TaxRow>& rows);
    std::vector<gzgl::items::TaxRow> bracketRows(const QTableWidget* grid) const;
    bool saveTax();
    bool saveCumulative();
    void generateCumulative();
    gzgl::items::CumulativeChoice chosenItems() const;
    void fillChoiceLists(const gzgl::items::CumulativeChoice& choice);
    void quitTax();

    gzgl::Session& s_;
    gzgl::Prompt& p_;
    QTabWidget* tbsOptions;
    QTableWidget* fgdList;
    QListWidget* lstWait;
    QTableWidget* fgAlready;
    QLineEdit* txtFormula;
    QComboBox* cmbMethod;
    QStackedWidget* stkTax;
    QTableWidget* msfRate;
    QLineEdit* txtstart;
    QTableWidget* msfYearRate;
    QLineEdit* txtDeduct;
    QComboBox* cmbIncome;
    QListWidget* lstDeduct;
    QComboBox* cmbTax;
    bool fillingTax_ = false;
};
