// The formula page of frmOption.
#include "screens/items/frmOption.h"

#include "items/formulas.h"
#include "items/line_order.h"
#include "screens/items/ItemScreens.h"
#include "screens/items/frmFormHelp.h"
#include "screens/session/ScreenSupport.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>

using namespace gzgl;

QWidget* frmOption::buildFormulaPage() {
    auto* page = new QWidget;
    lstWait = new QListWidget(page);
    lstWait->setObjectName("lstWait");
    fgAlready = makeGrid(page, "fgAlready", {"项目", "公式"});
    txtFormula = new QLineEdit(page);
    txtFormula->setObjectName("txtFormula");
    auto button = [page](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, page);
        b->setObjectName(name);
        return b;
    };
    QPushButton* picAdd = button("picAdd", QStringLiteral("确认公式"));
    QPushButton* picLeft = button("picLeft", QStringLiteral("去除公式"));
    QPushButton* picUp = button("picUp", QStringLiteral("向上移动公式顺序"));
    QPushButton* picDown = button("picDown", QStringLiteral("向下移动公式顺序"));
    QPushButton* picRate = button("picRate", QStringLiteral("生成所得税公式"));
    QPushButton* cmdOrder = button("cmdOrder", QStringLiteral("检查公式顺序"));
    auto* lblHelp = new QLabel(QStringLiteral("<a href=\"help\">公式帮助</a>"), page);
    lblHelp->setObjectName("lblHelp");

    auto* grid = new QGridLayout(page);
    grid->addWidget(new QLabel(QStringLiteral("待选项目："), page), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("已有公式项目："), page), 0, 1);
    grid->addWidget(lstWait, 1, 0);
    grid->addWidget(fgAlready, 1, 1);
    grid->setColumnStretch(1, 3);
    grid->setColumnStretch(0, 1);
    auto* edit = new QHBoxLayout;
    edit->addWidget(new QLabel(QStringLiteral("公式："), page));
    edit->addWidget(txtFormula, 1);
    grid->addLayout(edit, 2, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {picAdd, picLeft, picUp, picDown, picRate, cmdOrder})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(lblHelp);
    grid->addLayout(buttons, 3, 0, 1, 2);

    connect(fgAlready, &QTableWidget::cellClicked, this, [this](int row, int) { lineClicked(row); });
    connect(picAdd, &QPushButton::clicked, this, &frmOption::putFormula);
    connect(picLeft, &QPushButton::clicked, this, &frmOption::removeFormula);
    connect(picUp, &QPushButton::clicked, this, [this] { moveFormula(true); });
    connect(picDown, &QPushButton::clicked, this, [this] { moveFormula(false); });
    connect(picRate, &QPushButton::clicked, this, &frmOption::generateTax);
    connect(cmdOrder, &QPushButton::clicked, this, [this] { applyOutcome(this, p_, items::lineOrderReport(s_)); });
    connect(lblHelp, &QLabel::linkActivated, this, [this] {
        auto* help = new frmFormHelp(this);
        help->setAttribute(Qt::WA_DeleteOnClose);
        help->show();
    });
    // Enter in the formula box confirms it.
    auto* keys = new EnterKeys(this);
    keys->on(txtFormula, [this] { putFormula(); });
    return page;
}

void frmOption::reloadFormulas() {
    std::vector<std::vector<std::string>> rows;
    const std::vector<items::FormulaLine> lines = items::loadFormulaLines(s_);
    for (const items::FormulaLine& l : lines)
        rows.push_back({l.code, l.formula});
    fillGrid(fgAlready, rows);
    for (int r = 0; r < fgAlready->rowCount(); ++r)
        fgAlready->item(r, 0)->setData(Qt::UserRole, lines[static_cast<std::size_t>(r)].id);
}

std::string frmOption::waitingCode() const {
    const QListWidgetItem* i = lstWait->currentItem();
    return i && i->isSelected() ? ss(i->data(Qt::UserRole).toString()) : std::string();
}

std::optional<int> frmOption::selectedLineId() const {
    const int r = fgAlready->currentRow();
    if (r < 0 || fgAlready->selectedItems().isEmpty())
        return std::nullopt;
    return fgAlready->item(r, 0)->data(Qt::UserRole).toInt();
}

void frmOption::selectLine(int id) {
    for (int r = 0; r < fgAlready->rowCount(); ++r)
        if (fgAlready->item(r, 0)->data(Qt::UserRole).toInt() == id) {
            fgAlready->selectRow(r);
            fgAlready->setCurrentCell(r, 0);
        }
}

void frmOption::lineClicked(int row) {
    if (row < 0 || row >= fgAlready->rowCount())
        return;
    txtFormula->setText(fgAlready->item(row, 1)->text());
    const QString code = fgAlready->item(row, 0)->text();
    for (int i = 0; i < lstWait->count(); ++i)
        if (lstWait->item(i)->data(Qt::UserRole).toString() == code)
            lstWait->setCurrentRow(i);
}

void frmOption::putFormula() {
    const items::FormulaResult r =
        items::putFormula(s_, p_, {waitingCode(), ss(txtFormula->text()), selectedLineId()});
    applyOutcome(this, p_, r.outcome);
    if (r.changed) {
        reloadFormulas();
        selectLine(r.id);
    }
}

void frmOption::removeFormula() {
    const std::optional<int> id = selectedLineId();
    const std::string code = id ? ss(fgAlready->item(fgAlready->currentRow(), 0)->text()) : std::string();
    const Outcome o = items::removeFormula(s_, code, id);
    applyOutcome(this, p_, o);
    if (o.ok) {
        reloadFormulas();
        txtFormula->clear();
    }
}

void frmOption::moveFormula(bool up) {
    const std::optional<int> id = selectedLineId();
    if (!id)
        return;
    const items::FormulaResult r = items::moveFormula(s_, p_, *id, up);
    applyOutcome(this, p_, r.outcome);
    if (r.changed) {
        reloadFormulas();
        selectLine(r.id);
    }
}

void frmOption::generateTax() {
    // Under the cumulative method the button makes the method's lines.
    if (items::cumulativeMethod(s_)) {
        generateCumulative();
        return;
    }
    const std::vector<items::TaxRow> rows = bracketRows(msfRate);
    const items::FormulaResult r = items::generateTaxFormulas(s_, p_, waitingCode(), ss(txtstart->text()), rows);
    applyOutcome(this, p_, r.outcome);
    if (r.changed) {
        reloadFormulas();
        selectLine(r.id);
        const std::optional<int> last = selectedLineId();
        if (last)
            txtFormula->setText(fgAlready->item(fgAlready->currentRow(), 1)->text());
    }
}
