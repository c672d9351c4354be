#include "screens/reports/frmQuerySet.h"

#include "monthly/batch.h"
#include "monthly/refresh.h"
#include "screens/base/frmDepHelp.h"
#include "screens/base/frmEmpTypeHelp.h"
#include "screens/session/ScreenSupport.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace gzgl;
using namespace gzgl::reports;

namespace {

// A year (four digits) or month (two digits) box, as wide as its digits.
QLineEdit* dateBox(QWidget* owner, const char* name, int digits) {
    QLineEdit* e = namedEdit(owner, name);
    e->setMaxLength(digits);
    e->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), e));
    e->setFixedWidth(e->fontMetrics().horizontalAdvance(QString(digits + 2, '0')) + 12);
    e->setAlignment(Qt::AlignCenter);
    return e;
}

// A typed single-digit month shows as two digits.
void padMonth(QLineEdit* month) {
    if (month->text().size() == 1)
        month->setText("0" + month->text());
}

template <class F> void guarded(Session& s, Prompt& p, F&& f) {
    try {
        f();
    } catch (const std::exception& e) {
        p.message(e.what(), s.productTitle, Icon::Critical);
    }
}

} // namespace

frmQuerySet::frmQuerySet(Session& s, Prompt& p, Progress* progress, QWidget* parent,
                         const QueryConditions* previous)
    : QDialog(parent), s_(s), p_(p), progress_(progress) {
    setObjectName("frmQuerySet");
    setWindowTitle(qs(kQuerySetTitle));

    auto* frame = new QGroupBox(QStringLiteral("查询条件"), this);
    frame->setObjectName("Frame1");
    txtYear = dateBox(frame, "txtYear", 4);
    txtMonth = dateBox(frame, "txtMonth", 2);
    txtYear1 = dateBox(frame, "txtYear1", 4);
    txtMonth1 = dateBox(frame, "txtMonth1", 2);
    txtDep = namedEdit(frame, "txtDep");
    txtDep->setMinimumWidth(220);
    cmdDep = pickerButton(frame, "cmdDep", QStringLiteral("选择部门"));
    cmbDepType = namedCombo(frame, "cmbDepType");
    cmdHelp = namedButton(frame, "cmdHelp", QStringLiteral("所属类型"));
    cmdHelp->setToolTip(QStringLiteral("取所选部门的部门类型"));
    txtEmpType = namedEdit(frame, "txtEmpType");
    cmdEmpType = pickerButton(frame, "cmdEmpType", QStringLiteral("选择员工类型"));
    txtCode = namedEdit(frame, "txtCode");
    txtName = namedEdit(frame, "txtName");

    auto withButton = [frame](QWidget* box, QPushButton* b) {
        auto* w = new QWidget(frame);
        auto* l = new QHBoxLayout(w);
        l->setContentsMargins(0, 0, 0, 0);
        l->setSpacing(2);
        l->addWidget(box, 1);
        l->addWidget(b);
        return w;
    };
    auto* months = new QHBoxLayout;
    months->setSpacing(4);
    months->addWidget(txtYear);
    months->addWidget(new QLabel(QStringLiteral("年"), frame));
    months->addWidget(txtMonth);
    months->addWidget(new QLabel(QStringLiteral("月  至"), frame));
    months->addWidget(txtYear1);
    months->addWidget(new QLabel(QStringLiteral("年"), frame));
    months->addWidget(txtMonth1);
    months->addWidget(new QLabel(QStringLiteral("月"), frame));
    months->addStretch(1);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("查询期间："), frame), 0, 0);
    grid->addLayout(months, 0, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("部门："), frame), 1, 0);
    grid->addWidget(withButton(txtDep, cmdDep), 1, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("部门类型："), frame), 2, 0);
    grid->addWidget(withButton(cmbDepType, cmdHelp), 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("员工类型："), frame), 2, 2);
    grid->addWidget(withButton(txtEmpType, cmdEmpType), 2, 3);
    grid->addWidget(new QLabel(QStringLiteral("员工编号："), frame), 3, 0);
    grid->addWidget(txtCode, 3, 1);
    grid->addWidget(new QLabel(QStringLiteral("姓名："), frame), 3, 2);
    grid->addWidget(txtName, 3, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    cmbType = namedCombo(frame, "cmbType");
    cmbType->setMinimumWidth(130);
    cmbSym = namedCombo(frame, "cmbSym");
    for (const std::string& op : queryOperators())
        cmbSym->addItem(qs(op));
    txtNum1 = namedEdit(frame, "txtNum1");
    cmbAndOr = namedCombo(frame, "cmbAndOr");
    for (const std::string& link : queryLinks())
        cmbAndOr->addItem(qs(link));
    cmdAdd = namedButton(frame, "cmdAdd", QStringLiteral("条件加入"));
    cmdClear = namedButton(frame, "cmdClear", QStringLiteral("清除条件"));
    auto* editor = new QHBoxLayout;
    editor->addWidget(new QLabel(QStringLiteral("工资项目："), frame));
    editor->addWidget(cmbType, 2);
    editor->addWidget(cmbSym);
    editor->addWidget(txtNum1, 1);
    editor->addWidget(cmbAndOr);
    editor->addWidget(cmdAdd);
    editor->addWidget(cmdClear);

    flgQuery = new QTableWidget(0, 4, frame);
    flgQuery->setObjectName("flgQuery");
    flgQuery->setHorizontalHeaderLabels(
        {QStringLiteral("工资项目"), QStringLiteral("条件"), QStringLiteral("数值"), QStringLiteral("关系")});
    flgQuery->setEditTriggers(QAbstractItemView::NoEditTriggers);
    flgQuery->setSelectionBehavior(QAbstractItemView::SelectRows);
    flgQuery->verticalHeader()->hide();
    flgQuery->horizontalHeader()->setStretchLastSection(true);
    flgQuery->setColumnWidth(0, 160);
    flgQuery->setMinimumHeight(110);

    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->addLayout(grid);
    frameLayout->addSpacing(6);
    frameLayout->addLayout(editor);
    frameLayout->addWidget(flgQuery, 1);

    cmdBegin = namedButton(this, "cmdBegin", QStringLiteral("开始查询(&B)"));
    cmdBegin->setDefault(true);
    cmdCancel = namedButton(this, "cmdCancel", QStringLiteral("取消(&C)"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdBegin);
    buttons->addWidget(cmdCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame, 1);
    layout->addLayout(buttons);

    connect(cmdDep, &QPushButton::clicked, this, [this] { frmDepHelp::appendInto(s_, txtDep, this); });
    connect(cmdHelp, &QPushButton::clicked, this, &frmQuerySet::cmdHelp_Click);
    connect(cmdEmpType, &QPushButton::clicked, this, [this] {
        frmEmpTypeHelp help(s_, this);
        if (help.exec() == QDialog::Accepted && !help.typeNo().empty())
            txtEmpType->setText(qs(help.typeNo() + " " + help.name()));
    });
    connect(cmdAdd, &QPushButton::clicked, this, &frmQuerySet::cmdAdd_Click);
    connect(cmdClear, &QPushButton::clicked, this, &frmQuerySet::cmdClear_Click);
    connect(cmdBegin, &QPushButton::clicked, this, &frmQuerySet::cmdBegin_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(txtMonth, &QLineEdit::editingFinished, this, [this] { padMonth(txtMonth); });
    connect(txtMonth1, &QLineEdit::editingFinished, this, [this] { padMonth(txtMonth1); });
    auto* keys = new EnterKeys(this);
    keys->moveTo(txtYear, txtMonth);
    keys->moveTo(txtMonth, txtYear1);
    keys->moveTo(txtYear1, txtMonth1);
    keys->moveTo(txtMonth1, txtDep);
    keys->moveTo(txtDep, txtEmpType);
    keys->moveTo(txtEmpType, txtCode);
    keys->moveTo(txtCode, txtName);
    keys->moveTo(txtName, cmdBegin);
    keys->on(txtNum1, [this] { cmdAdd_Click(); });

    guarded(s_, p_, [this] {
        monthly::RefreshMonthData(s_);
        fillLists();
    });
    if (previous) {
        showRequest(*previous);
    } else {
        QueryConditions now;
        now.year = now.year1 = s_.curPeriod.substr(0, 4);
        now.month = now.month1 = s_.curPeriod.size() == 6 ? s_.curPeriod.substr(4) : std::string();
        showRequest(now);
    }
    resize(sizeHint().expandedTo(QSize(640, 480)));
}

void frmQuerySet::fillLists() {
    for (const items::ItemChoice& c : monthly::conditionItems(s_))
        cmbType->addItem(qs(c.name), qs(c.code));
    cmbType->setCurrentIndex(-1);
    cmbDepType->addItem(QString()); // every department type
    for (const std::string& t : monthly::departmentTypeNames(s_))
        cmbDepType->addItem(qs(t));
}

void frmQuerySet::showRequest(const QueryConditions& q) {
    txtYear->setText(qs(q.year));
    txtMonth->setText(qs(q.month));
    txtYear1->setText(qs(q.year1));
    txtMonth1->setText(qs(q.month1));
    padMonth(txtMonth);
    padMonth(txtMonth1);
    txtDep->setText(qs(q.departments));
    cmbDepType->setCurrentIndex(std::max(0, cmbDepType->findText(qs(q.depType))));
    txtEmpType->setText(qs(q.empType));
    txtCode->setText(qs(q.empNo));
    txtName->setText(qs(q.name));
    conditions_ = q.conditions;
    showConditions();
}

QueryConditions frmQuerySet::request() const {
    QueryConditions q;
    q.year = ss(txtYear->text());
    q.month = ss(txtMonth->text());
    q.year1 = ss(txtYear1->text());
    q.month1 = ss(txtMonth1->text());
    q.departments = ss(txtDep->text());
    q.depType = ss(cmbDepType->currentText());
    q.empType = ss(txtEmpType->text());
    q.empNo = ss(txtCode->text());
    q.name = ss(txtName->text());
    q.conditions = conditions_;
    return q;
}

void frmQuerySet::cmdAdd_Click() {
    guarded(s_, p_, [this] {
        const AddQueryConditionResult r =
            addQueryCondition(s_, ss(cmbType->currentText()), ss(cmbSym->currentText()), ss(txtNum1->text()),
                              ss(cmbAndOr->currentText()));
        if (!r.outcome.ok) {
            applyOutcome(this, p_, r.outcome);
            return;
        }
        conditions_.push_back(r.condition);
        showConditions();
        txtNum1->clear();
    });
}

void frmQuerySet::cmdClear_Click() {
    conditions_.clear();
    showConditions();
}

void frmQuerySet::showConditions() {
    flgQuery->setRowCount(static_cast<int>(conditions_.size()));
    for (int r = 0; r < flgQuery->rowCount(); ++r) {
        const QueryCondition& c = conditions_[static_cast<std::size_t>(r)];
        const std::string cells[] = {c.name, c.op, c.value, c.link};
        for (int col = 0; col < 4; ++col)
            flgQuery->setItem(r, col, new QTableWidgetItem(qs(cells[col])));
    }
}

void frmQuerySet::cmdHelp_Click() {
    guarded(s_, p_, [this] {
        const std::string type = proposedDepartmentType(s_, ss(txtDep->text()));
        if (type.empty())
            return;
        const int at = cmbDepType->findText(qs(type));
        if (at >= 0)
            cmbDepType->setCurrentIndex(at);
    });
}

void frmQuerySet::cmdBegin_Click() {
    padMonth(txtMonth);
    padMonth(txtMonth1);
    guarded(s_, p_, [this] {
        QueryConditions q = request();
        SilentProgress silent;
        QueryRun run;
        {
            WaitCursor wait;
            run = runQuery(s_, q, progress_ ? *progress_ : silent);
        }
        // A reversed range comes back swapped, and the boxes show it so.
        txtYear->setText(qs(q.year));
        txtMonth->setText(qs(q.month));
        txtYear1->setText(qs(q.year1));
        txtMonth1->setText(qs(q.month1));
        if (!run.outcome.ok) {
            applyOutcome(this, p_, run.outcome);
            return;
        }
        result_ = std::move(run.result);
        accept();
    });
}
