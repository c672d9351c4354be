// The cumulative page of the income-tax page: the annual table msfYearRate
// with the monthly basic deduction, the items the calculation reads and
// writes, and the generator of its formula lines. The rules are in
// items/cumulative_tax.h.
#include "screens/items/frmOption.h"

#include "items/items.h"
#include "screens/items/ItemScreens.h"
#include "screens/session/ScreenSupport.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

using namespace gzgl;

namespace {

// A choice box entry: "code name", the code in Qt::UserRole; the first
// entry is empty (nothing chosen).
void fillChoiceBox(QComboBox* box, const std::vector<items::ItemChoice>& items, const std::string& chosen) {
    box->clear();
    box->addItem(QString(), QString());
    for (const items::ItemChoice& i : items) {
        box->addItem(qs(i.code + " " + i.name), qs(i.code));
        if (i.code == chosen)
            box->setCurrentIndex(box->count() - 1);
    }
}

std::string chosenCode(const QComboBox* box) { return ss(box->currentData().toString()); }

} // namespace

QWidget* frmOption::buildCumulativePage() {
    auto* page = new QWidget;
    msfYearRate = makeGrid(page, "msfYearRate", items::taxCaptions());
    connectBracketGrid(msfYearRate);
    txtDeduct = new QLineEdit(page);
    txtDeduct->setObjectName("txtDeduct");
    txtDeduct->setMaximumWidth(120);
    cmbIncome = new QComboBox(page);
    cmbIncome->setObjectName("cmbIncome");
    cmbTax = new QComboBox(page);
    cmbTax->setObjectName("cmbTax");
    lstDeduct = new QListWidget(page);
    lstDeduct->setObjectName("lstDeduct");

    auto* items = new QGroupBox(QStringLiteral("计税项目"), page);
    auto* form = new QFormLayout(items);
    form->addRow(QStringLiteral("本月收入项目："), cmbIncome);
    form->addRow(QStringLiteral("本月扣除项目："), lstDeduct);
    form->addRow(QStringLiteral("税额项目："), cmbTax);
    auto* lblCumulative = new QLabel(
        QStringLiteral("本月应预扣税额 ＝ 按年度税率表计算的（上月累计应税收入 ＋ 本月收入 － 本月扣除 － "
                       "上月累计减除费用 － 每月减除费用）的税额 － 上月累计已扣税额，不小于零。\n"
                       "三个“上月累计”项目在月末结转时累加，新的年度从零开始；年中启用时，"
                       "请在工资数据录入中录入本年此前的累计数。"),
        items);
    lblCumulative->setObjectName("lblCumulative");
    lblCumulative->setWordWrap(true);
    form->addRow(lblCumulative);

    QPushButton* cmdInsert = namedButton(page, "cmdYearInsert", QStringLiteral("插入一行"));
    QPushButton* cmdDelete = namedButton(page, "cmdYearDelete", QStringLiteral("删除一行"));
    QPushButton* cmdSave = namedButton(page, "cmdYearSave", QStringLiteral("存  盘"));
    QPushButton* cmdGenerate = namedButton(page, "cmdCumulative", QStringLiteral("生成累计预扣公式"));
    QPushButton* cmdQuit = namedButton(page, "cmdYearQuit", QStringLiteral("退  出"));

    auto* top = new QHBoxLayout;
    top->addWidget(msfYearRate, 3);
    top->addWidget(items, 2);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(new QLabel(QStringLiteral("每月减除费用："), page));
    bottom->addWidget(txtDeduct);
    bottom->addStretch();
    for (QPushButton* b : {cmdInsert, cmdDelete, cmdSave, cmdGenerate, cmdQuit})
        bottom->addWidget(b);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("年度税率表（全年应纳税所得额）："), page));
    layout->addLayout(top, 1);
    layout->addLayout(bottom);

    connectRowButtons(msfYearRate, cmdInsert, cmdDelete);
    connect(cmdSave, &QPushButton::clicked, this, &frmOption::saveCumulative);
    connect(cmdGenerate, &QPushButton::clicked, this, &frmOption::generateCumulative);
    connect(cmdQuit, &QPushButton::clicked, this, &frmOption::quitTax);
    return page;
}

void frmOption::showMethod() {
    const bool cumulative = items::cumulativeMethod(s_);
    cmbMethod->setCurrentIndex(cumulative ? 1 : 0);
    stkTax->setCurrentIndex(cumulative ? 1 : 0);
}

void frmOption::fillChoiceLists(const items::CumulativeChoice& choice) {
    const std::vector<items::ItemChoice> candidates = items::cumulativeCandidates(s_);
    fillChoiceBox(cmbIncome, candidates, choice.income);
    std::vector<items::ItemChoice> taxItems;
    std::copy_if(candidates.begin(), candidates.end(), std::back_inserter(taxItems),
                 [](const items::ItemChoice& i) { return i.code != "F003"; });
    fillChoiceBox(cmbTax, taxItems, choice.tax);
    lstDeduct->clear();
    for (const items::ItemChoice& i : candidates) {
        auto* entry = new QListWidgetItem(qs(i.code + " " + i.name), lstDeduct);
        entry->setData(Qt::UserRole, qs(i.code));
        entry->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        const bool on = std::find(choice.deductions.begin(), choice.deductions.end(), i.code) != choice.deductions.end();
        entry->setCheckState(on ? Qt::Checked : Qt::Unchecked);
    }
}

void frmOption::reloadCumulative() {
    showMethod();
    const items::AnnualTable table = items::loadAnnualTable(s_);
    fillBrackets(msfYearRate, table.rows);
    txtDeduct->setText(qs(table.deduction));
    fillChoiceLists(items::loadCumulativeChoice(s_));
}

items::CumulativeChoice frmOption::chosenItems() const {
    items::CumulativeChoice c;
    c.income = chosenCode(cmbIncome);
    c.tax = chosenCode(cmbTax);
    for (int i = 0; i < lstDeduct->count(); ++i)
        if (lstDeduct->item(i)->checkState() == Qt::Checked)
            c.deductions.push_back(ss(lstDeduct->item(i)->data(Qt::UserRole).toString()));
    return c;
}

void frmOption::methodChosen(int index) {
    const std::string method = ss(cmbMethod->itemText(index));
    if (method == items::loadTaxMethod(s_)) {
        showMethod();
        return;
    }
    const Outcome o = items::setTaxMethod(s_, method);
    applyOutcome(this, p_, o);
    if (o.ok) {
        // The cumulative method brings its items.
        reloadItems();
        reloadFormulas();
    }
    showMethod();
}

bool frmOption::saveCumulative() {
    const Outcome o = items::saveCumulativeSettings(
        s_, {ss(txtDeduct->text()), bracketRows(msfYearRate)}, chosenItems());
    applyOutcome(this, p_, o);
    return o.ok;
}

void frmOption::generateCumulative() {
    // The page as it stands is what the lines are made from.
    const Outcome saved =
        items::saveCumulativeSettings(s_, {ss(txtDeduct->text()), bracketRows(msfYearRate)}, chosenItems());
    if (!saved.ok) {
        applyOutcome(this, p_, saved);
        return;
    }
    const items::FormulaResult r = items::generateAnnualFormulas(s_, p_);
    applyOutcome(this, p_, r.outcome);
    if (r.changed) {
        reloadFormulas();
        selectLine(r.id);
    }
}
