#include "screens/reports/frmReport.h"

#include "base/tree.h"
#include "print/screen_jobs.h"
#include "reports/render/payslip_files.h"
#include "reports/standard_jobs.h"
#include "screens/base/frmDepHelp.h"
#include "screens/base/frmDepTypeHelp.h"
#include "screens/print/PrintDialogs.h"
#include "screens/session/ScreenSupport.h"

#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

using namespace gzgl;

namespace {

// The department levels a coding scheme can define.
constexpr int kMaxLevel = 5;

QLineEdit* digitsBox(QWidget* parent, const char* name, int digits) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setMaxLength(digits);
    e->setAlignment(Qt::AlignCenter);
    e->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), e));
    // Room for the digits and the frame, whatever the font.
    e->setFixedWidth(e->fontMetrics().horizontalAdvance(QString(digits + 1, '0')) + 16);
    return e;
}

// The up-down spinner beside a box: two small arrow buttons, repeating
// while held, that call step with +1 or -1.
QWidget* upDown(QWidget* parent, const char* name, const QLineEdit* buddy, std::function<void(int)> step) {
    auto* w = new QWidget(parent);
    w->setObjectName(name);
    auto* column = new QVBoxLayout(w);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    const int h = std::max(8, buddy->sizeHint().height() / 2);
    for (const auto& [arrow, delta] : {std::pair{Qt::UpArrow, 1}, std::pair{Qt::DownArrow, -1}}) {
        auto* b = new QToolButton(w);
        b->setObjectName(delta > 0 ? "up" : "down");
        b->setArrowType(arrow);
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setFixedSize(h + 4, h);
        QObject::connect(b, &QToolButton::clicked, w, [step, delta = delta] { step(delta); });
        column->addWidget(b);
    }
    return w;
}

} // namespace

frmReport::frmReport(Session& s, Prompt& p, Progress* progress, QWidget* parent)
    : QDialog(parent), s_(s), p_(p), progress_(progress ? *progress : silent_) {
    setObjectName("frmReport");
    setWindowTitle(QStringLiteral("工资报表打印"));

    cmbType = new QComboBox(this);
    cmbType->setObjectName("cmbType");
    txtDep = new QLineEdit(this);
    txtDep->setObjectName("txtDep");
    txtDep->setMinimumWidth(
        txtDep->fontMetrics().horizontalAdvance(QStringLiteral("0101 办公室,0102 财务科")) + 16);
    cmdDep = new QPushButton(QStringLiteral("部门帮助"), this);
    cmdDep->setObjectName("cmdDep");
    txtDepType = new QLineEdit(this);
    txtDepType->setObjectName("txtDepType");
    cmdDepType = new QPushButton(QStringLiteral("类型帮助"), this);
    cmdDepType->setObjectName("cmdDepType");
    txtYear = digitsBox(this, "txtYear", 4);
    txtMonth = digitsBox(this, "txtMonth", 2);
    txtYear1 = digitsBox(this, "txtYear1", 4);
    txtMonth1 = digitsBox(this, "txtMonth1", 2);
    txtGrade = digitsBox(this, "txtGrade", 1);
    UDGrade = upDown(this, "UDGrade", txtGrade, [this](int d) { step(txtGrade, d); });
    Opt0 = new QRadioButton(QStringLiteral("显示下一级单位"), this);
    Opt0->setObjectName("Opt0");
    Opt0->setChecked(true);
    Opt1 = new QRadioButton(QStringLiteral("显示最末级单位"), this);
    Opt1->setObjectName("Opt1");
    cmdpreview0 = new QPushButton(QStringLiteral("预览"), this);
    cmdpreview0->setObjectName("cmdpreview0");
    cmdpreview0->setDefault(true);
    cmdpreview1 = new QPushButton(QStringLiteral("打印"), this);
    cmdpreview1->setObjectName("cmdpreview1");
    cmdExport = new QPushButton(QStringLiteral("工资单导出为PDF"), this);
    cmdExport->setObjectName("cmdExport");
    cmdExport->setToolTip(QStringLiteral("每个员工的工资单各写成一个PDF文件"));
    cmdCancel = new QPushButton(QStringLiteral("返回"), this);
    cmdCancel->setObjectName("cmdCancel");

    auto* grid = new QGridLayout;
    auto label = [this](const QString& text, QWidget* buddy) {
        auto* l = new QLabel(text, this);
        l->setBuddy(buddy);
        return l;
    };
    grid->addWidget(label(QStringLiteral("表    种："), cmbType), 0, 0);
    grid->addWidget(cmbType, 0, 1, 1, 2);
    lblDep = label(QStringLiteral("部    门："), txtDep);
    grid->addWidget(lblDep, 1, 0);
    grid->addWidget(txtDep, 1, 1);
    grid->addWidget(cmdDep, 1, 2);
    lblDepType = label(QStringLiteral("部门类型："), txtDepType);
    grid->addWidget(lblDepType, 2, 0);
    grid->addWidget(txtDepType, 2, 1);
    grid->addWidget(cmdDepType, 2, 2);

    auto* months = new QHBoxLayout;
    months->setSpacing(2);
    auto addMonth = [&](QLineEdit* year, const char* udYear, QLineEdit* month, const char* udMonth) {
        months->addWidget(year);
        months->addWidget(upDown(this, udYear, year, [this, year](int d) { step(year, d); }));
        months->addSpacing(2);
        months->addWidget(new QLabel(QStringLiteral("年"), this));
        months->addSpacing(4);
        months->addWidget(month);
        months->addWidget(upDown(this, udMonth, month, [this, month](int d) { step(month, d); }));
        months->addSpacing(2);
        months->addWidget(new QLabel(QStringLiteral("月"), this));
    };
    addMonth(txtYear, "UDYear", txtMonth, "UDMonth");
    months->addSpacing(8);
    months->addWidget(new QLabel(QStringLiteral("-至-"), this));
    months->addSpacing(8);
    addMonth(txtYear1, "UDYear1", txtMonth1, "UDMonth1");
    months->addStretch(1);
    grid->addWidget(label(QStringLiteral("报表年月："), txtYear), 3, 0);
    grid->addLayout(months, 3, 1, 1, 2);

    auto* level = new QHBoxLayout;
    level->setSpacing(2);
    level->addWidget(txtGrade);
    level->addWidget(UDGrade);
    level->addSpacing(16);
    level->addWidget(Opt0);
    level->addSpacing(8);
    level->addWidget(Opt1);
    level->addStretch(1);
    lblGrade = label(QStringLiteral("部门级数："), txtGrade);
    grid->addWidget(lblGrade, 4, 0);
    grid->addLayout(level, 4, 1, 1, 2);
    grid->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdExport);
    buttons->addStretch(1);
    buttons->addWidget(cmdpreview0);
    buttons->addWidget(cmdpreview1);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    // The rows that do not apply to a report are hidden; the dialog follows.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(cmbType, &QComboBox::currentIndexChanged, this, [this] { cmbType_Click(); });
    connect(cmdDep, &QPushButton::clicked, this, [this] {
        frmDepHelp help(s_, this);
        if (help.exec() == QDialog::Accepted && !help.code().empty())
            txtDep->setText(qs(base::appendChoice(ss(txtDep->text()), help.code() + " " + help.name())));
    });
    connect(cmdDepType, &QPushButton::clicked, this, [this] {
        frmDepTypeHelp help(s_, this);
        if (help.exec() == QDialog::Accepted && !help.typeNo().empty())
            txtDepType->setText(
                qs(base::appendChoice(ss(txtDepType->text()), help.typeNo() + " " + help.name())));
    });
    connect(cmdpreview0, &QPushButton::clicked, this, [this] { cmdpreview_Click(0); });
    connect(cmdpreview1, &QPushButton::clicked, this, [this] { cmdpreview_Click(1); });
    connect(cmdExport, &QPushButton::clicked, this, &frmReport::cmdExport_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    order_ = {cmbType, txtDep, txtDepType, txtYear, txtMonth, txtYear1, txtMonth1, txtGrade, cmdpreview0};
    auto* keys = new EnterKeys(this);
    for (QWidget* w : order_)
        if (w != cmdpreview0)
            keys->on(w, [this, w] { focusNext(w); });

    reports::ReportScreenStart start;
    try {
        start = reports::openReportScreen(s_);
    } catch (const std::exception& e) {
        p_.message(e.what(), s_.productTitle, Icon::Critical);
        start.types = reports::reportNames();
    }
    for (const std::string& name : start.types)
        cmbType->addItem(qs(name));
    for (QLineEdit* e : {txtYear, txtYear1})
        e->setText(qs(start.year));
    for (QLineEdit* e : {txtMonth, txtMonth1})
        e->setText(qs(start.month));
    cmbType->setCurrentIndex(cmbType->count() > 0 ? 0 : -1);
    cmbType_Click();
}

reports::ReportRequest frmReport::request() const {
    reports::ReportRequest rq;
    rq.type = cmbType->currentIndex();
    rq.year = ss(txtYear->text());
    rq.month = ss(txtMonth->text());
    rq.year1 = ss(txtYear1->text());
    rq.month1 = ss(txtMonth1->text());
    rq.departments = ss(txtDep->text());
    // Fields hidden for the chosen report do not take part in it.
    if (rq.type == reports::kTypeSummary)
        rq.depTypes = ss(txtDepType->text());
    if (rq.type == reports::kDepartmentSummary) {
        rq.level = ss(txtGrade->text());
        rq.lowest = Opt1->isChecked();
    }
    return rq;
}

void frmReport::cmbType_Click() {
    const int type = cmbType->currentIndex();
    const bool types = type == reports::kTypeSummary;
    const bool levels = type == reports::kDepartmentSummary;
    for (QWidget* w : std::initializer_list<QWidget*>{lblDepType, txtDepType, cmdDepType})
        w->setVisible(types);
    for (QWidget* w : std::initializer_list<QWidget*>{lblGrade, txtGrade, UDGrade, Opt0, Opt1})
        w->setVisible(levels);
    // Every report can be narrowed to departments, once one is chosen.
    for (QWidget* w : std::initializer_list<QWidget*>{lblDep, txtDep, cmdDep})
        w->setVisible(type >= 0);
    cmdExport->setVisible(type == reports::kPayslips);
}

void frmReport::step(QLineEdit* box, int delta) {
    const QString text = box->text().trimmed();
    bool number = false;
    int v = text.toInt(&number);
    if (box == txtGrade) {
        // Empty stands for no level; the levels are 1 to 5.
        v = std::clamp((number ? v : 0) + delta, 0, kMaxLevel);
        box->setText(v == 0 ? QString() : QString::number(v));
        return;
    }
    QLineEdit* year = box == txtMonth ? txtYear : box == txtMonth1 ? txtYear1 : nullptr;
    if (!year) {
        // A year box without a year starts from the current period's.
        v = (number ? v : QString::fromStdString(s_.curPeriod.substr(0, 4)).toInt()) + delta;
        box->setText(QString::number(std::clamp(v, 1, 9999)));
        return;
    }
    // A month steps past December into the next year and back.
    v = (number ? v : 1) + delta;
    if (v > 12 || v < 1) {
        bool hasYear = false;
        const int y = year->text().trimmed().toInt(&hasYear);
        if (hasYear)
            year->setText(QString::number(std::clamp(y + (v > 12 ? 1 : -1), 1, 9999)));
        v = v > 12 ? 1 : 12;
    }
    box->setText(QString("%1").arg(v, 2, 10, QChar('0')));
}

void frmReport::focusNext(QWidget* from) {
    auto at = std::find(order_.begin(), order_.end(), from);
    for (++at; at != order_.end(); ++at)
        if (!(*at)->isHidden() && (*at)->isEnabled()) {
            (*at)->setFocus();
            if (auto* e = qobject_cast<QLineEdit*>(*at))
                e->selectAll();
            return;
        }
}

bool frmReport::Search() {
    reports::ReportRequest rq = request();
    bool ok = false;
    try {
        built_ = reports::buildReport(s_, rq, progress_);
        ok = true;
    } catch (const std::exception& e) {
        built_ = {};
        p_.message(e.what(), s_.productTitle, Icon::Critical);
    }
    // A reversed range comes back swapped; the fields show it.
    txtYear->setText(qs(rq.year));
    txtMonth->setText(qs(rq.month));
    txtYear1->setText(qs(rq.year1));
    txtMonth1->setText(qs(rq.month1));
    if (ok && !built_.outcome.ok) {
        applyOutcome(this, p_, built_.outcome);
        return false;
    }
    return ok;
}

void frmReport::cmdpreview_Click(int index) {
    if (!Search())
        return;
    try {
        print::clsGridPrint job = reports::reportJob(s_, built_);
        if (const auto none = print::noDataMessage(job.grid(), index == 0)) {
            none->show(p_);
            return;
        }
        if (index == 0)
            Preview(job, this);
        else
            PrintOut(job, this, p_, choosePdf_);
    } catch (const std::exception& e) {
        p_.message(e.what(), s_.productTitle, Icon::Critical);
    }
}

void frmReport::cmdExport_Click() {
    if (cmbType->currentIndex() != reports::kPayslips || !Search())
        return;
    const QString folder =
        chooseFolder_ ? chooseFolder_()
                      : QFileDialog::getExistingDirectory(this, QStringLiteral("选择存放工资单文件的文件夹"));
    if (folder.isEmpty())
        return;
    std::vector<std::string> written;
    Outcome o;
    try {
        WaitCursor wait;
        o = reports::writePayslipPdfs(s_, built_, ss(folder), &written);
    } catch (const std::exception& e) {
        o = Outcome::refuse(e.what(), s_.productTitle, Icon::Critical);
    }
    // Files written before a failure stay; the message says how many.
    if (!written.empty())
        p_.message("已写出 " + std::to_string(written.size()) + " 个工资单文件到文件夹 " + ss(folder) + "。",
                   "提示", Icon::Information);
    o.show(p_);
}
