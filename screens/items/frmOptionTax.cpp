// The income-tax page of frmOption: the method box cmbMethod over two pages,
// the monthly brackets (msfRate, the threshold and the example table) and
// the cumulative method (frmOptionCumulative.cpp).
#include "screens/items/frmOption.h"

#include "items/items.h"
#include "screens/items/ItemScreens.h"
#include "screens/session/ScreenSupport.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace gzgl;

QWidget* frmOption::buildTaxPage() {
    auto* page = new QWidget;
    cmbMethod = new QComboBox(page);
    cmbMethod->setObjectName("cmbMethod");
    for (const std::string& m : items::taxMethods())
        cmbMethod->addItem(qs(m));
    stkTax = new QStackedWidget(page);
    stkTax->setObjectName("stkTax");
    stkTax->addWidget(buildMonthlyTaxPage());
    stkTax->addWidget(buildCumulativePage());
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("计税方法："), page));
    top->addWidget(cmbMethod);
    top->addStretch();
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(top);
    layout->addWidget(stkTax, 1);
    connect(cmbMethod, &QComboBox::activated, this, &frmOption::methodChosen);
    return page;
}

QWidget* frmOption::buildMonthlyTaxPage() {
    auto* page = new QWidget;
    msfRate = makeGrid(page, "msfRate", items::taxCaptions());
    connectBracketGrid(msfRate);
    txtstart = new QLineEdit(page);
    txtstart->setObjectName("txtstart");
    txtstart->setMaximumWidth(120);
    QPushButton* cmdInsert = namedButton(page, "cmdInsert", QStringLiteral("插入一行"));
    QPushButton* cmdDelete = namedButton(page, "cmdDelete", QStringLiteral("删除一行"));
    QPushButton* cmdSave = namedButton(page, "cmdSave", QStringLiteral("存  盘"));
    QPushButton* cmdQuit = namedButton(page, "cmdQuit", QStringLiteral("退  出"));

    QStringList example;
    for (const std::string& line : items::taxExampleLines())
        example << qs(line).toHtmlEscaped().replace(' ', "&nbsp;");
    auto* lblNote = new QLabel("<pre>" + example.join("<br>") + "</pre>", page);
    lblNote->setObjectName("lblNote");
    lblNote->setTextFormat(Qt::RichText);
    lblNote->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

    auto* top = new QHBoxLayout;
    top->addWidget(msfRate, 1);
    top->addWidget(lblNote);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(new QLabel(QStringLiteral("起征值："), page));
    bottom->addWidget(txtstart);
    bottom->addStretch();
    for (QPushButton* b : {cmdInsert, cmdDelete, cmdSave, cmdQuit})
        bottom->addWidget(b);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(top, 1);
    layout->addLayout(bottom);

    connectRowButtons(msfRate, cmdInsert, cmdDelete);
    connect(cmdSave, &QPushButton::clicked, this, &frmOption::saveTax);
    connect(cmdQuit, &QPushButton::clicked, this, &frmOption::quitTax);
    return page;
}

void frmOption::connectBracketGrid(QTableWidget* grid) {
    grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::AnyKeyPressed);
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    connect(grid, &QTableWidget::itemChanged, this, &frmOption::taxCellChanged);
}

void frmOption::connectRowButtons(QTableWidget* grid, QPushButton* insert, QPushButton* remove) {
    connect(insert, &QPushButton::clicked, this, [this, grid] {
        const int at = grid->currentRow() < 0 ? grid->rowCount() : grid->currentRow();
        grid->insertRow(at);
        for (int c = 0; c < grid->columnCount(); ++c)
            setTaxCell(grid, at, c, {});
    });
    connect(remove, &QPushButton::clicked, this, [grid] {
        if (grid->currentRow() >= 0)
            grid->removeRow(grid->currentRow());
    });
}

void frmOption::setTaxCell(QTableWidget* grid, int row, int col, const QString& text) {
    fillingTax_ = true;
    QTableWidgetItem* cell = grid->item(row, col);
    if (!cell) {
        cell = new QTableWidgetItem;
        grid->setItem(row, col, cell);
    }
    cell->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable);
    cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    cell->setText(text);
    cell->setData(Qt::UserRole, text);
    fillingTax_ = false;
}

void frmOption::fillBrackets(QTableWidget* grid, const std::vector<items::TaxRow>& rows) {
    grid->setRowCount(0);
    grid->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < grid->rowCount(); ++r) {
        const items::TaxRow& t = rows[static_cast<std::size_t>(r)];
        int c = 0;
        for (const std::string* v : {&t.start, &t.end, &t.rate, &t.quick})
            setTaxCell(grid, r, c++, qs(*v));
    }
}

void frmOption::reloadTaxRows() { fillBrackets(msfRate, items::loadTaxRows(s_)); }

void frmOption::taxCellChanged(QTableWidgetItem* cell) {
    if (fillingTax_)
        return;
    const items::CellResult r = items::acceptTaxCell(ss(cell->text()));
    if (!r.outcome.ok) {
        setTaxCell(cell->tableWidget(), cell->row(), cell->column(), cell->data(Qt::UserRole).toString());
        applyOutcome(this, p_, r.outcome);
        return;
    }
    setTaxCell(cell->tableWidget(), cell->row(), cell->column(), qs(r.shown));
}

std::vector<items::TaxRow> frmOption::bracketRows(const QTableWidget* grid) const {
    std::vector<items::TaxRow> rows;
    auto text = [grid](int r, int c) {
        const QTableWidgetItem* cell = grid->item(r, c);
        return cell ? ss(cell->text()) : std::string();
    };
    for (int r = 0; r < grid->rowCount(); ++r)
        rows.push_back({text(r, 0), text(r, 1), text(r, 2), text(r, 3)});
    return rows;
}

bool frmOption::saveTax() {
    const Outcome o = items::saveBrackets(s_, ss(txtstart->text()), bracketRows(msfRate));
    applyOutcome(this, p_, o);
    return o.ok;
}

void frmOption::quitTax() {
    const bool cumulative = stkTax->currentIndex() == 1;
    if (p_.askYesNo(items::kSaveQuestion, items::kTitle, Icon::Question) &&
        !(cumulative ? saveCumulative() : saveTax()))
        return;
    (parentWidget() ? parentWidget() : this)->close();
}
