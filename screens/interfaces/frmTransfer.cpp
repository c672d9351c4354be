#include "screens/interfaces/frmTransfer.h"

#include "accounting/link.h"
#include "accounting/transfer.h"
#include "monthly/refresh.h"
#include "screens/base/frmDepHelp.h"
#include "screens/interfaces/frmSubjectHelp.h"
#include "screens/session/DatabasePassword.h"
#include "screens/session/GridWidths.h"
#include "screens/session/ScreenSupport.h"
#include "screens/session/frmConnect.h"

#include <QAction>
#include <QCloseEvent>
#include <QDate>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTableWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

using namespace gzgl;
using accounting::RuleCheck;
using accounting::RuleColumn;
using accounting::TransferRule;

namespace {

constexpr int kColumns = 7;
constexpr int kDepartmentColumn = 0;
constexpr int kDebitColumn = 4;
constexpr int kCreditColumn = 5;
const char* const kModifiedQuestion = "转账公式已经修改，是否存盘？";
const char* const kDeleteQuestion = "确定要删除本行公式吗?";
const char* const kHelpText =
    "部门：参与转账的部门代码，多个代码以“,”分隔，每个代码包括其所有下级部门；双击选择部门。\n"
    "工资项目：转账金额所取的工资项目代码，多个代码以“,”分隔，金额为各项目之和。\n"
    "转账属性：参与转账的职工的转账属性，多个属性以“,”分隔；为空表示全部职工。\n"
    "摘要：凭证分录的摘要。\n"
    "借方科目、贷方科目：最明细的会计科目代码；双击从科目列表中选择。\n"
    "凭证号：本次转账中的凭证序号，凭证号相同的公式生成同一张凭证。\n"
    "合并：同一张凭证中科目相同的分录合并为一条。";

std::array<std::string TransferRule::*, kColumns> cellsOfRule() {
    return {&TransferRule::departments, &TransferRule::items, &TransferRule::attributes,
            &TransferRule::summary,     &TransferRule::debit, &TransferRule::credit,
            &TransferRule::number};
}

int columnOf(RuleColumn c) {
    switch (c) {
    case RuleColumn::Departments:
        return 0;
    case RuleColumn::Items:
        return 1;
    case RuleColumn::Attributes:
        return 2;
    case RuleColumn::Summary:
        return 3;
    case RuleColumn::Debit:
        return 4;
    case RuleColumn::Credit:
        return 5;
    case RuleColumn::Number:
        return 6;
    case RuleColumn::None:
        break;
    }
    return 0;
}

// The status text of a piece of work, taken down however the work ends.
struct Busy {
    Progress& p;
    Busy(Progress& progress, const char* status) : p(progress) { p.begin(status, 0); }
    ~Busy() { p.end(); }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;
};

} // namespace

template <class F> bool frmTransfer::guarded(F&& f) {
    try {
        f();
        return true;
    } catch (const std::exception& e) {
        p_.message(e.what(), s_.productTitle, Icon::Critical);
        return false;
    }
}

frmTransfer::frmTransfer(Session& s, Prompt& p, Progress* progress,
                         std::unique_ptr<accounting::AccountingStore> store, QWidget* parent)
    : QWidget(parent), s_(s), p_(p), progress_(progress), store_(std::move(store)) {
    setObjectName("frmTransfer");
    setWindowTitle(QStringLiteral("本月工资转账公式设置"));
    setAttribute(Qt::WA_DeleteOnClose);
    buildToolbar();

    msfForm = new QTableWidget(0, kColumns, this);
    msfForm->setObjectName("msfForm");
    msfForm->setHorizontalHeaderLabels(QString::fromUtf8(accounting::kRuleHeadings).split('|'));
    msfForm->setSelectionMode(QAbstractItemView::SingleSelection);
    // A double click opens the pickers, so it is handled by editCell.
    msfForm->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    msfForm->setMinimumHeight(180);
    connect(msfForm, &QTableWidget::cellDoubleClicked, this, &frmTransfer::editCell);

    // The voucher date, shown by 转账时间.
    FmTime = new QGroupBox(QStringLiteral("转账时间"), this);
    FmTime->setObjectName("FmTime");
    TY = namedEdit(FmTime, "TY");
    TM = namedEdit(FmTime, "TM");
    TD = namedEdit(FmTime, "TD");
    TY->setMaxLength(4);
    TM->setMaxLength(2);
    TD->setMaxLength(2);
    const QFontMetrics fm(TY->font());
    TY->setFixedWidth(fm.horizontalAdvance(QStringLiteral("00000")) + 12);
    TM->setFixedWidth(fm.horizontalAdvance(QStringLiteral("000")) + 12);
    TD->setFixedWidth(fm.horizontalAdvance(QStringLiteral("000")) + 12);
    auto* timeRow = new QHBoxLayout(FmTime);
    timeRow->addWidget(TY);
    timeRow->addWidget(new QLabel(QStringLiteral("年"), FmTime));
    timeRow->addWidget(TM);
    timeRow->addWidget(new QLabel(QStringLiteral("月"), FmTime));
    timeRow->addWidget(TD);
    timeRow->addWidget(new QLabel(QStringLiteral("日"), FmTime));
    timeRow->addStretch(1);
    FmTime->hide();
    auto* keys = new EnterKeys(this);
    keys->moveTo(TY, TM);
    keys->moveTo(TM, TD);

    // The vouchers of a month are dated its last day unless told otherwise.
    const int year = QString::fromStdString(s_.curPeriod.substr(0, 4)).toInt();
    const int month = QString::fromStdString(s_.curPeriod.substr(4, 2)).toInt();
    const QDate first(year, month, 1);
    TY->setText(QString::number(year));
    TM->setText(QStringLiteral("%1").arg(month, 2, 10, QLatin1Char('0')));
    TD->setText(QString::number(first.isValid() ? first.daysInMonth() : 1));

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(tlbMnu);
    layout->addWidget(msfForm, 1);
    layout->addWidget(FmTime);

    showRules({});
    guarded([this] {
        monthly::RefreshMonthData(s_, monthly::FixedItems::All);
        saved_ = accounting::loadRules(s_);
        showRules(saved_);
    });
    resize(900, 480);
}

frmTransfer::~frmTransfer() = default;

void frmTransfer::buildToolbar() {
    tlbMnu = namedToolBar(this, "tlbMnu");
    auto add = [this](const char* key, const QString& text, const QString& tip, auto slot) {
        QAction* a = namedAction(tlbMnu, key, text, tip);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    add("Add", QStringLiteral("增加"), QStringLiteral("增加公式"), [this] { addRule(); });
    add("Delete", QStringLiteral("删除"), QStringLiteral("删除本行公式"), [this] { deleteRule(); });
    add("Save", QStringLiteral("存盘"), QStringLiteral("存盘"), [this] { saveRules(); });
    add("Help", QStringLiteral("帮助"), QStringLiteral("设置帮助"), [this] { showHelp(); });
    tlbMnu->addSeparator();
    unite_ = add("Unite", QStringLiteral("合并"), QStringLiteral("同科目合并"), [] {});
    unite_->setCheckable(true);
    add("Trans", QStringLiteral("转账"), QStringLiteral("开始进行本月工资转账"), [this] { transfer(); });
    add("TransTime", QStringLiteral("转账时间"), QStringLiteral("设定转账时间"), [this] { toggleTime(); });
    tlbMnu->addSeparator();
    add("Exit", QStringLiteral("退出"), QStringLiteral("退出"), [this] { close(); });
}

QAction* frmTransfer::action(const QString& key) const {
    for (QAction* a : tlbMnu->actions())
        if (a->objectName() == key)
            return a;
    return nullptr;
}

std::unique_ptr<accounting::AccountingStore> frmTransfer::connectLinkedSet(Session& s, Prompt& p,
                                                                           QWidget* parent) {
    std::string password;
    try {
        // A network link without a password in its data source asks the
        // user; the answer serves this opening only.
        const std::optional<std::string> answer =
            linkedSetPassword(s, p, [parent] { return askDbPassword(parent); });
        if (!answer)
            return nullptr;
        password = *answer;
    } catch (const accounting::AccountingError& e) {
        p.message(e.what(), "提示", Icon::Exclamation);
        return nullptr;
    } catch (const std::exception& e) {
        p.message(e.what(), s.productTitle, Icon::Critical);
        return nullptr;
    }
    for (;;) {
        try {
            return openLinkedStore(s, password);
        } catch (const accounting::AccountingError& e) {
            p.message(e.what(), "提示", Icon::Exclamation);
            // The folder or catalog is there but no longer lists the
            // task's set: the user may choose the set again and go on.
            if (std::string(e.what()) != accounting::kWrongSetMessage)
                return nullptr;
            frmConnect connect(s, p, parent, password);
            if (connect.exec() != QDialog::Accepted)
                return nullptr;
        } catch (const std::exception& e) {
            p.message(e.what(), s.productTitle, Icon::Critical);
            return nullptr;
        }
    }
}

frmTransfer* frmTransfer::openIn(QMdiArea* area) {
    for (QMdiSubWindow* sub : area->subWindowList())
        if (auto* t = qobject_cast<frmTransfer*>(sub->widget()))
            return t;
    return nullptr;
}

void frmTransfer::showRules(const std::vector<TransferRule>& rules) {
    const auto cells = cellsOfRule();
    msfForm->setRowCount(static_cast<int>(rules.size()));
    for (int r = 0; r < msfForm->rowCount(); ++r)
        for (int c = 0; c < kColumns; ++c)
            msfForm->setItem(r, c,
                             new QTableWidgetItem(
                                 qs(rules[static_cast<std::size_t>(r)].*cells[static_cast<std::size_t>(c)])));
    if (msfForm->rowCount() > 0)
        msfForm->setCurrentCell(0, 0);
    fitColumns();
}

void frmTransfer::fitColumns() {
    // Room for what is usually typed even while the grid is empty.
    static const std::array<const char*, kColumns> typical = {
        "0101,0102,0201", "F003,F004,F005", "1,2,3", "计提2006年12月工资", "660201", "660201", "999"};
    const QFontMetrics fm(msfForm->font());
    for (int c = 0; c < kColumns; ++c)
        msfForm->setColumnWidth(
            c, std::max(gridwidths::fittedWidth(msfForm, c),
                        fm.horizontalAdvance(QString::fromUtf8(typical[static_cast<std::size_t>(c)])) + 16));
}

std::vector<TransferRule> frmTransfer::rules() const {
    const auto cells = cellsOfRule();
    std::vector<TransferRule> out;
    for (int r = 0; r < msfForm->rowCount(); ++r) {
        TransferRule rule;
        for (int c = 0; c < kColumns; ++c)
            if (const QTableWidgetItem* it = msfForm->item(r, c))
                rule.*cells[static_cast<std::size_t>(c)] = ss(it->text());
        out.push_back(std::move(rule));
    }
    return out;
}

bool frmTransfer::modified() const {
    return rules() != saved_;
}

void frmTransfer::finishEdit() {
    commitOpenEdit(msfForm);
}

void frmTransfer::addRule() {
    finishEdit();
    const TransferRule rule = accounting::newRule(s_);
    const auto cells = cellsOfRule();
    const int row = msfForm->rowCount();
    msfForm->insertRow(row);
    for (int c = 0; c < kColumns; ++c)
        msfForm->setItem(row, c, new QTableWidgetItem(qs(rule.*cells[static_cast<std::size_t>(c)])));
    msfForm->setCurrentCell(row, 0);
    msfForm->setFocus();
}

void frmTransfer::deleteRule() {
    finishEdit();
    const int row = msfForm->currentRow();
    if (row < 0 || row >= msfForm->rowCount())
        return;
    if (!p_.askYesNo(kDeleteQuestion, s_.productShortName, Icon::Question))
        return;
    msfForm->removeRow(row);
    if (msfForm->rowCount() > 0)
        msfForm->setCurrentCell(std::min(row, msfForm->rowCount() - 1),
                                std::max(0, msfForm->currentColumn()));
}

bool frmTransfer::saveRules() {
    finishEdit();
    bool saved = false;
    guarded([this, &saved] {
        const std::vector<TransferRule> rules = this->rules();
        RuleCheck check;
        {
            Busy busy(progress_ ? *progress_ : silent_, accounting::kCheckingStatus);
            check = accounting::saveRules(s_, *store_, rules);
        }
        check.outcome.show(p_);
        if (!check.outcome.ok) {
            focusRefusal(check);
            return;
        }
        saved_ = rules;
        saved = true;
    });
    return saved;
}

void frmTransfer::showHelp() {
    p_.message(kHelpText, "设置帮助", Icon::Information);
}

void frmTransfer::toggleTime() {
    FmTime->setHidden(!FmTime->isHidden());
    if (!FmTime->isHidden())
        TY->setFocus();
}

std::optional<accounting::VoucherDate> frmTransfer::typedDate() const {
    return accounting::parseVoucherDate(ss(TY->text()), ss(TM->text()), ss(TD->text()));
}

void frmTransfer::focusRefusal(const RuleCheck& check) {
    if (check.rule < 0) {
        FmTime->show();
        TY->setFocus();
        TY->selectAll();
        return;
    }
    if (check.rule >= msfForm->rowCount())
        return;
    msfForm->setCurrentCell(check.rule, columnOf(check.column));
    msfForm->setFocus();
}

void frmTransfer::transfer() {
    finishEdit();
    const std::optional<accounting::VoucherDate> date = typedDate();
    if (!date) {
        p_.message(accounting::kBadDate, s_.productShortName, Icon::Exclamation);
        focusRefusal({});
        return;
    }
    guarded([this, &date] {
        const std::vector<TransferRule> rules = this->rules();
        const Outcome o = accounting::runTransfer(s_, *store_, p_, {*date, rules, unite_->isChecked()},
                                                  progress_ ? *progress_ : silent_);
        o.show(p_);
        if (o.ok)
            return;
        // A refusal of one rule points at its cell; the check only reads.
        const RuleCheck check = accounting::checkRules(s_, *store_, rules, date);
        if (!check.outcome.ok && check.outcome.message == o.message)
            focusRefusal(check);
    });
}

void frmTransfer::editCell(int row, int column) {
    QTableWidgetItem* item = msfForm->item(row, column);
    if (!item)
        return;
    if (column == kDepartmentColumn) {
        frmDepHelp help(s_, this);
        if (help.exec() == QDialog::Accepted && !help.code().empty())
            item->setText(help.appendedTo(item->text()));
        return;
    }
    if (column == kDebitColumn || column == kCreditColumn) {
        guarded([this, item] {
            frmSubjectHelp help(*store_, this);
            if (help.exec() == QDialog::Accepted && !help.code().empty())
                item->setText(qs(help.code()));
        });
        return;
    }
    msfForm->editItem(item);
}

void frmTransfer::closeEvent(QCloseEvent* e) {
    finishEdit();
    if (modified() && p_.askYesNo(kModifiedQuestion, s_.productShortName, Icon::Question) && !saveRules()) {
        // Rules that cannot be saved stay on the screen to be put right.
        e->ignore();
        return;
    }
    e->accept();
}
