// 工资项目定义及公式设置: the item list, the formula page and the income-tax
// page on the tab strip tbsOptions. Every rule is in items/; this class reads
// its controls, calls the engine and shows what comes back.
#pragma once

#include "core/prompt.h"
#include "core/session.h"
#include "items/taxrates.h"

#include <QWidget>

#include <optional>

class QLineEdit;
class QListWidget;
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

    void taxCellChanged(QTableWidgetItem* cell);
    void setTaxCell(int row, int col, const QString& text);
    std::vector<gzgl::items::TaxRow> taxGrid() const;
    bool saveTax();
    void quitTax();

    gzgl::Session& s_;
    gzgl::Prompt& p_;
    QTabWidget* tbsOptions;
    QTableWidget* fgdList;
    QListWidget* lstWait;
    QTableWidget* fgAlready;
    QLineEdit* txtFormula;
    QTableWidget* msfRate;
    QLineEdit* txtstart;
    bool fillingTax_ = false;
};
