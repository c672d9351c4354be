// The income-tax page of frmOption: the bracket grid msfRate, the threshold
// and the example table.
#include "screens/items/frmOption.h"

#include "items/items.h"
#include "screens/items/ItemScreens.h"
#include "screens/session/ScreenSupport.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace gzgl;

QWidget* frmOption::buildTaxPage() {
    auto* page = new QWidget;
    msfRate = makeGrid(page, "msfRate", items::taxCaptions());
    msfRate->setSelectionBehavior(QAbstractItemView::SelectItems);
    msfRate->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                             QAbstractItemView::AnyKeyPressed);
    msfRate->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    txtstart = new QLineEdit(page);
    txtstart->setObjectName("txtstart");
    txtstart->setMaximumWidth(120);
    auto button = [page](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, page);
        b->setObjectName(name);
        return b;
    };
    QPushButton* cmdInsert = button("cmdInsert", QStringLiteral("插入一行"));
    QPushButton* cmdDelete = button("cmdDelete", QStringLiteral("删除一行"));
    QPushButton* cmdSave = button("cmdSave", QStringLiteral("存  盘"));
    QPushButton* cmdQuit = button("cmdQuit", QStringLiteral("退  出"));

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
    layout->addLayout(top, 1);
    layout->addLayout(bottom);

    connect(msfRate, &QTableWidget::itemChanged, this, &frmOption::taxCellChanged);
    connect(cmdInsert, &QPushButton::clicked, this, [this] {
        const int at = msfRate->currentRow() < 0 ? msfRate->rowCount() : msfRate->currentRow();
        msfRate->insertRow(at);
        for (int c = 0; c < msfRate->columnCount(); ++c)
            setTaxCell(at, c, {});
    });
    connect(cmdDelete, &QPushButton::clicked, this, [this] {
        if (msfRate->currentRow() >= 0)
            msfRate->removeRow(msfRate->currentRow());
    });
    connect(cmdSave, &QPushButton::clicked, this, &frmOption::saveTax);
    connect(cmdQuit, &QPushButton::clicked, this, &frmOption::quitTax);
    return page;
}

// A cell keeps its accepted text in Qt::UserRole, so that a refused entry
// can be taken back.
void frmOption::setTaxCell(int row, int col, const QString& text) {
    fillingTax_ = true;
    QTableWidgetItem* cell = msfRate->item(row, col);
    if (!cell) {
        cell = new QTableWidgetItem;
        msfRate->setItem(row, col, cell);
    }
    cell->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable);
    cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    cell->setText(text);
    cell->setData(Qt::UserRole, text);
    fillingTax_ = false;
}

void frmOption::reloadTaxRows() {
    const std::vector<items::TaxRow> rows = items::loadTaxRows(s_);
    msfRate->setRowCount(0);
    msfRate->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < msfRate->rowCount(); ++r) {
        const items::TaxRow& t = rows[static_cast<std::size_t>(r)];
        int c = 0;
        for (const std::string* v : {&t.start, &t.end, &t.rate, &t.quick})
            setTaxCell(r, c++, qs(*v));
    }
}

void frmOption::taxCellChanged(QTableWidgetItem* cell) {
    if (fillingTax_)
        return;
    const items::CellResult r = items::acceptTaxCell(ss(cell->text()));
    if (!r.outcome.ok) {
        setTaxCell(cell->row(), cell->column(), cell->data(Qt::UserRole).toString());
        applyOutcome(this, p_, r.outcome);
        return;
    }
    setTaxCell(cell->row(), cell->column(), qs(r.shown));
}

std::vector<items::TaxRow> frmOption::taxGrid() const {
    std::vector<items::TaxRow> rows;
    auto text = [this](int r, int c) {
        const QTableWidgetItem* cell = msfRate->item(r, c);
        return cell ? ss(cell->text()) : std::string();
    };
    for (int r = 0; r < msfRate->rowCount(); ++r)
        rows.push_back({text(r, 0), text(r, 1), text(r, 2), text(r, 3)});
    return rows;
}

bool frmOption::saveTax() {
    const Outcome o = items::saveBrackets(s_, ss(txtstart->text()), taxGrid());
    applyOutcome(this, p_, o);
    return o.ok;
}

void frmOption::quitTax() {
    if (p_.askYesNo(items::kSaveQuestion, items::kTitle, Icon::Question) && !saveTax())
        return;
    (parentWidget() ? parentWidget() : this)->close();
}
