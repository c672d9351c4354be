#include "screens/monthly/frmGroup.h"

#include "monthly/refresh.h"
#include "screens/base/frmDepHelp.h"
#include "screens/base/frmEmpTypeHelp.h"
#include "screens/session/ScreenSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace gzgl;

namespace {

// Database failures end the piece of work with their message.
template <class F> void guarded(Session& s, Prompt& p, F&& f) {
    try {
        f();
    } catch (const std::exception& e) {
        p.message(e.what(), s.productTitle, Icon::Critical);
    }
}

} // namespace

frmGroup::frmGroup(Session& s, Prompt& p, Progress* progress, QWidget* parent)
    : QDialog(parent), s_(s), p_(p), progress_(progress) {
    setObjectName("frmGroup");
    setWindowTitle(QStringLiteral("工资成批调整"));

    // What is adjusted and how.
    auto* adjust = new QGroupBox(QStringLiteral("调整项目"), this);
    cmbItem = namedCombo(adjust, "cmbItem");
    cmbItem->setMinimumWidth(160);
    cmbWay = namedCombo(adjust, "cmbWay");
    for (const std::string& w : monthly::batchWays())
        cmbWay->addItem(qs(w));
    lblFormula = new QLabel(adjust);
    lblFormula->setObjectName("lblFormula");
    txtFormula = namedEdit(adjust, "txtFormula");
    auto* adjustGrid = new QGridLayout(adjust);
    adjustGrid->addWidget(new QLabel(QStringLiteral("调整的工资项目："), adjust), 0, 0);
    adjustGrid->addWidget(cmbItem, 0, 1);
    adjustGrid->addWidget(new QLabel(QStringLiteral("调整方式："), adjust), 0, 2);
    adjustGrid->addWidget(cmbWay, 0, 3);
    adjustGrid->addWidget(lblFormula, 1, 0);
    adjustGrid->addWidget(txtFormula, 1, 1, 1, 3);
    adjustGrid->setColumnStretch(1, 1);
    adjustGrid->setColumnStretch(3, 1);

    // Which employees.
    auto* range = new QGroupBox(QStringLiteral("调整范围"), this);
    cmbType = namedCombo(range, "cmbType");
    txtDep = namedEdit(range, "txtDep");
    cmdDep = pickerButton(range, "cmdDep", QStringLiteral("选择部门"));
    txtType = namedEdit(range, "txtType");
    cmdType = pickerButton(range, "cmdType", QStringLiteral("选择员工类型"));
    txtCode = namedEdit(range, "txtCode");
    txtName = namedEdit(range, "txtName");
    auto* rangeGrid = new QGridLayout(range);
    auto withPicker = [range](QLineEdit* box, QPushButton* picker) {
        auto* w = new QWidget(range);
        auto* l = new QHBoxLayout(w);
        l->setContentsMargins(0, 0, 0, 0);
        l->setSpacing(2);
        l->addWidget(box, 1);
        l->addWidget(picker);
        return w;
    };
    rangeGrid->addWidget(new QLabel(QStringLiteral("部门类型："), range), 0, 0);
    rangeGrid->addWidget(cmbType, 0, 1);
    rangeGrid->addWidget(new QLabel(QStringLiteral("部门："), range), 0, 2);
    rangeGrid->addWidget(withPicker(txtDep, cmdDep), 0, 3);
    rangeGrid->addWidget(new QLabel(QStringLiteral("员工类型："), range), 1, 0);
    rangeGrid->addWidget(withPicker(txtType, cmdType), 1, 1);
    rangeGrid->addWidget(new QLabel(QStringLiteral("员工编号："), range), 1, 2);
    rangeGrid->addWidget(txtCode, 1, 3);
    rangeGrid->addWidget(new QLabel(QStringLiteral("姓名："), range), 2, 0);
    rangeGrid->addWidget(txtName, 2, 1);
    rangeGrid->setColumnStretch(1, 1);
    rangeGrid->setColumnStretch(3, 1);

    // The conditions on item values.
    auto* query = new QGroupBox(QStringLiteral("调整条件"), this);
    cmbQueryItem = namedCombo(query, "cmbQueryItem");
    cmbQueryItem->setMinimumWidth(130);
    cmbSym1 = namedCombo(query, "cmbSym1");
    for (const std::string& op : monthly::conditionOperators())
        cmbSym1->addItem(qs(op));
    txtValue = namedEdit(query, "txtValue");
    cmbJoin = namedCombo(query, "cmbJoin");
    for (const std::string& w : monthly::joinWords())
        cmbJoin->addItem(qs(w));
    cmdAdd = namedButton(query, "cmdAdd", QStringLiteral("条件加入"));
    cmdClear = namedButton(query, "cmdClear", QStringLiteral("清除"));
    flgQuery = new QTableWidget(0, 4, query);
    flgQuery->setObjectName("flgQuery");
    flgQuery->setHorizontalHeaderLabels(
        {QStringLiteral("工资项目"), QStringLiteral("条件"), QStringLiteral("数值"), QStringLiteral("关系")});
    flgQuery->setEditTriggers(QAbstractItemView::NoEditTriggers);
    flgQuery->setSelectionBehavior(QAbstractItemView::SelectRows);
    flgQuery->verticalHeader()->hide();
    flgQuery->horizontalHeader()->setStretchLastSection(true);
    flgQuery->setColumnWidth(0, 140);
    flgQuery->setMinimumHeight(120);
    auto* editor = new QHBoxLayout;
    editor->addWidget(cmbQueryItem, 2);
    editor->addWidget(cmbSym1);
    editor->addWidget(txtValue, 1);
    editor->addWidget(cmbJoin);
    editor->addWidget(cmdAdd);
    editor->addWidget(cmdClear);
    auto* queryLayout = new QVBoxLayout(query);
    queryLayout->addLayout(editor);
    queryLayout->addWidget(flgQuery, 1);

    cmdOk1 = namedButton(this, "cmdOk1", QStringLiteral("确定(&O)"));
    cmdClose = namedButton(this, "cmdClose", QStringLiteral("关闭(&C)"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOk1);
    buttons->addWidget(cmdClose);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(adjust);
    layout->addWidget(range);
    layout->addWidget(query, 1);
    layout->addLayout(buttons);

    connect(cmbWay, &QComboBox::currentIndexChanged, this, [this](int way) { showWay(way); });
    connect(cmdDep, &QPushButton::clicked, this, [this] {
        frmDepHelp help(s_, this);
        if (help.exec() == QDialog::Accepted && !help.code().empty())
            txtDep->setText(qs(help.code() + " " + help.name()));
    });
    connect(cmdType, &QPushButton::clicked, this, [this] {
        frmEmpTypeHelp help(s_, this);
        if (help.exec() == QDialog::Accepted && !help.typeNo().empty())
            txtType->setText(qs(help.typeNo() + " " + help.name()));
    });
    connect(cmdAdd, &QPushButton::clicked, this, &frmGroup::cmdAdd_Click);
    connect(cmdClear, &QPushButton::clicked, this, &frmGroup::cmdClear_Click);
    connect(cmdOk1, &QPushButton::clicked, this, &frmGroup::cmdOk1_Click);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::close);
    auto* keys = new EnterKeys(this);
    keys->moveTo(txtFormula, txtDep);
    keys->moveTo(txtDep, txtType);
    keys->moveTo(txtType, txtCode);
    keys->moveTo(txtCode, txtName);
    keys->moveTo(txtName, cmdOk1);
    keys->on(txtValue, [this] { cmdAdd_Click(); });

    showWay(0);
    guarded(s_, p_, [this] {
        monthly::RefreshMonthData(s_);
        fillLists();
    });
    resize(640, 520);
}

void frmGroup::fillLists() {
    for (const items::ItemChoice& c : monthly::adjustableItems(s_))
        cmbItem->addItem(qs(c.name), qs(c.code));
    cmbItem->setCurrentIndex(-1);
    for (const items::ItemChoice& c : monthly::conditionItems(s_))
        cmbQueryItem->addItem(qs(c.name), qs(c.code));
    cmbQueryItem->setCurrentIndex(-1);
    cmbType->addItem(QString()); // every department type
    for (const std::string& t : monthly::departmentTypeNames(s_))
        cmbType->addItem(qs(t));
}

void frmGroup::showWay(int way) {
    lblFormula->setText(qs(monthly::batchWayLabel(way)));
}

void frmGroup::cmdAdd_Click() {
    guarded(s_, p_, [this] {
        const monthly::AddConditionResult r =
            monthly::addCondition(s_, ss(cmbQueryItem->currentText()), ss(cmbSym1->currentText()),
                                  ss(txtValue->text()), ss(cmbJoin->currentText()));
        if (!r.outcome.ok) {
            applyOutcome(this, p_, r.outcome);
            return;
        }
        conditions_.push_back(r.condition);
        showConditions();
        txtValue->clear();
    });
}

void frmGroup::cmdClear_Click() {
    conditions_.clear();
    showConditions();
}

void frmGroup::showConditions() {
    flgQuery->setRowCount(static_cast<int>(conditions_.size()));
    for (int r = 0; r < flgQuery->rowCount(); ++r) {
        const monthly::BatchCondition& c = conditions_[static_cast<std::size_t>(r)];
        const std::string cells[] = {c.name, c.op, c.value, c.join};
        for (int col = 0; col < 4; ++col)
            flgQuery->setItem(r, col, new QTableWidgetItem(qs(cells[col])));
    }
}

monthly::BatchRequest frmGroup::request() const {
    monthly::BatchRequest r;
    r.item = cmbItem->currentIndex() >= 0 ? ss(cmbItem->currentData().toString()) : std::string();
    r.way = cmbWay->currentIndex();
    r.input = ss(txtFormula->text());
    r.depType = ss(cmbType->currentText());
    r.dep = ss(txtDep->text());
    r.empType = ss(txtType->text());
    r.empNo = ss(txtCode->text());
    r.name = ss(txtName->text());
    r.conditions = conditions_;
    return r;
}

void frmGroup::cmdOk1_Click() {
    guarded(s_, p_, [this] {
        SilentProgress silent;
        monthly::BatchResult result;
        {
            WaitCursor wait;
            result = monthly::runBatch(s_, request(), progress_ ? *progress_ : silent);
        }
        applyOutcome(this, p_, result.outcome);
    });
}
