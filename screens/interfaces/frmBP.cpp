#include "screens/interfaces/frmBP.h"

#include "exchange/bank_edit.h"
#include "monthly/refresh.h"
#include "screens/base/frmDepHelp.h"
#include "screens/interfaces/frmBPHelp.h"
#include "screens/interfaces/frmBankHelp.h"
#include "screens/print/PrintDialogs.h"
#include "screens/session/GridWidths.h"
#include "screens/session/ScreenSupport.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

using namespace gzgl;
using exchange::BankField;
using exchange::BankTemplate;

namespace {

constexpr int kColumns = 7;
constexpr int kWidthColumn = 2;
constexpr int kDigitsColumn = 6;
const QString kTabChoice = QStringLiteral("TAB（制表符）");

// The width and digit cells hold at most the two digits the template file
// keeps for them.
class TwoDigitDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* w = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* edit = qobject_cast<QLineEdit*>(w))
            edit->setMaxLength(2);
        return w;
    }
};

std::array<std::string BankField::*, kColumns> cellsOfRow() {
    return {&BankField::name,   &BankField::type,  &BankField::width, &BankField::align,
            &BankField::source, &BankField::point, &BankField::digits};
}

} // namespace

template <class F> void frmBP::guarded(F&& f) {
    try {
        f();
    } catch (const std::exception& e) {
        p_.message(e.what(), s_.productTitle, Icon::Critical);
    }
}

frmBP::frmBP(Session& s, Prompt& p, Progress* progress, QWidget* parent)
    : QDialog(parent), s_(s), p_(p), progress_(progress) {
    setObjectName("frmBP");
    setWindowTitle(QStringLiteral("银行报盘文件格式定义"));
    buildToolbar();

    // The template's rows, one field of the output line each.
    msfModel = new QTableWidget(0, kColumns, this);
    msfModel->setObjectName("msfModel");
    QStringList headings;
    for (const char* h : exchange::kTemplateHeadings)
        headings << QString::fromUtf8(h);
    msfModel->setHorizontalHeaderLabels(headings);
    msfModel->setSelectionBehavior(QAbstractItemView::SelectRows);
    msfModel->setSelectionMode(QAbstractItemView::SingleSelection);
    msfModel->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                              QAbstractItemView::AnyKeyPressed);
    msfModel->setItemDelegateForColumn(kWidthColumn, new TwoDigitDelegate(msfModel));
    msfModel->setItemDelegateForColumn(kDigitsColumn, new TwoDigitDelegate(msfModel));
    msfModel->setMinimumHeight(200);
    auto* deleteRow = new QAction(msfModel);
    deleteRow->setShortcut(QKeySequence::Delete);
    deleteRow->setShortcutContext(Qt::WidgetShortcut);
    msfModel->addAction(deleteRow);
    connect(deleteRow, &QAction::triggered, this, &frmBP::cmdDel_Click);
    connect(msfModel, &QTableWidget::cellDoubleClicked, this, &frmBP::cycle);

    cmdOk = namedButton(this, "cmdOk", QStringLiteral("确　　定"));
    cmdUp = namedButton(this, "cmdUp", QStringLiteral("本行上移"));
    cmdDown = namedButton(this, "cmdDown", QStringLiteral("本行下移"));
    cmdDel = namedButton(this, "cmdDel", QStringLiteral("删除本行"));
    cmdDel->setToolTip(QStringLiteral("删除表格中的当前行（Delete 键）"));
    cmdCancel = namedButton(this, "cmdCancel", QStringLiteral("项目帮助"));
    auto* side = new QVBoxLayout;
    side->addWidget(cmdOk);
    side->addSpacing(12);
    side->addWidget(cmdUp);
    side->addWidget(cmdDown);
    side->addWidget(cmdDel);
    side->addSpacing(12);
    side->addWidget(cmdCancel);
    side->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addWidget(msfModel, 1);
    top->addLayout(side);

    // The first and last line of the file.
    auto* lines = new QGroupBox(QStringLiteral("文件首尾行"), this);
    txtHead = new QLineEdit(lines);
    txtHead->setObjectName("txtHead");
    txtTail = new QLineEdit(lines);
    txtTail->setObjectName("txtTail");
    auto* linesGrid = new QGridLayout(lines);
    linesGrid->addWidget(new QLabel(QStringLiteral("增加文件首行："), lines), 0, 0);
    linesGrid->addWidget(txtHead, 0, 1);
    linesGrid->addWidget(new QLabel(QStringLiteral("增加文件尾行："), lines), 1, 0);
    linesGrid->addWidget(txtTail, 1, 1);
    linesGrid->setColumnStretch(1, 1);

    // The departments that take part, or that are left out.
    auto* deps = new QGroupBox(QStringLiteral("报送银行的部门"), this);
    CmDep = new QComboBox(deps);
    CmDep->setObjectName("CmDep");
    CmDep->addItem(QString::fromUtf8(exchange::kExcludeMode));
    CmDep->addItem(QString::fromUtf8(exchange::kIncludeMode));
    txtDep = new QListWidget(deps);
    txtDep->setObjectName("txtDep");
    cmdSel0 = namedButton(deps, "cmdSel0", QStringLiteral("增加部门"));
    cmdSel1 = namedButton(deps, "cmdSel1", QStringLiteral("减少部门"));
    auto* depButtons = new QHBoxLayout;
    depButtons->addWidget(cmdSel0);
    depButtons->addWidget(cmdSel1);
    depButtons->addStretch(1);
    auto* depLayout = new QVBoxLayout(deps);
    depLayout->addWidget(CmDep);
    depLayout->addWidget(new QLabel(QStringLiteral("以下所列的是对应的报送银行的部门"), deps));
    depLayout->addWidget(txtDep, 1);
    depLayout->addLayout(depButtons);

    // The options of this run.
    auto* opts = new QGroupBox(QStringLiteral("文件选项"), this);
    txtName = new QLineEdit(QString::fromStdString(exchange::BankOptions{}.fileName), opts);
    txtName->setObjectName("txtName");
    Cmbfg = new QComboBox(opts);
    Cmbfg->setObjectName("Cmbfg");
    Cmbfg->setEditable(true);
    Cmbfg->setInsertPolicy(QComboBox::NoInsert);
    Cmbfg->addItem(QString::fromUtf8(exchange::kFixedWidthMode),
                   QString::fromUtf8(exchange::kFixedWidthMode));
    for (const char* sep : {",", ";", "|"})
        Cmbfg->addItem(QString::fromLatin1(sep), QString::fromLatin1(sep));
    Cmbfg->addItem(kTabChoice, QStringLiteral("\t"));
    Cmbfg->setCurrentIndex(0);
    CKXH = new QCheckBox(QStringLiteral("序号"), opts);
    CKXH->setObjectName("CKXH");
    CKZJ = new QCheckBox(QStringLiteral("总计"), opts);
    CKZJ->setObjectName("CKZJ");
    chkBank = new QCheckBox(QStringLiteral("按银行账号排序"), opts);
    chkBank->setObjectName("chkBank");
    auto* optsGrid = new QGridLayout(opts);
    optsGrid->addWidget(new QLabel(QStringLiteral("文件名："), opts), 0, 0);
    optsGrid->addWidget(txtName, 0, 1);
    optsGrid->addWidget(new QLabel(QStringLiteral("文件分隔形式："), opts), 1, 0);
    optsGrid->addWidget(Cmbfg, 1, 1);
    auto* checks = new QHBoxLayout;
    checks->addWidget(CKXH);
    checks->addWidget(CKZJ);
    checks->addStretch(1);
    optsGrid->addLayout(checks, 2, 0, 1, 2);
    optsGrid->addWidget(chkBank, 3, 0, 1, 2);
    optsGrid->setColumnStretch(1, 1);
    optsGrid->setRowStretch(4, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(deps, 1);
    bottom->addWidget(opts, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(tlbMnu);
    layout->addLayout(top, 1);
    layout->addWidget(lines);
    layout->addLayout(bottom);

    connect(cmdOk, &QPushButton::clicked, this, &frmBP::cmdOk_Click);
    connect(cmdUp, &QPushButton::clicked, this, [this] { cmdMove_Click(-1); });
    connect(cmdDown, &QPushButton::clicked, this, [this] { cmdMove_Click(1); });
    connect(cmdDel, &QPushButton::clicked, this, &frmBP::cmdDel_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmBP::cmdCancel_Click);
    connect(cmdSel0, &QPushButton::clicked, this, &frmBP::addDepartment);
    connect(cmdSel1, &QPushButton::clicked, this, &frmBP::removeDepartments);
    auto* keys = new EnterKeys(this);
    keys->moveTo(txtHead, txtTail);
    keys->moveTo(txtTail, txtName);
    keys->moveTo(txtName, Cmbfg);
    keys->moveTo(Cmbfg->lineEdit(), CKXH);
    keys->moveTo(CKXH, CKZJ);
    keys->moveTo(CKZJ, chkBank);
    keys->moveTo(chkBank, cmdOk);

    showRows({}, -1);
    guarded([this] {
        monthly::RefreshMonthData(s_);
        const exchange::TemplateLoad loaded = exchange::loadBankTemplate(exchange::bankTemplatePath(s_));
        showRows(loaded.tpl.rows, loaded.tpl.rows.empty() ? -1 : 0);
        txtHead->setText(qs(loaded.tpl.head));
        txtTail->setText(qs(loaded.tpl.tail));
        showDepartments(loaded.tpl.departments, -1);
        if (!loaded.problems.empty())
            p_.message(exchange::templateProblemsMessage(loaded.problems), "提示", Icon::Exclamation);
    });
    resize(860, 600);
}

void frmBP::buildToolbar() {
    tlbMnu = namedToolBar(this, "tlbMnu");
    auto add = [this](const char* key, const QString& text, const QString& tip, auto slot) {
        QAction* a = namedAction(tlbMnu, key, text, tip);
        connect(a, &QAction::triggered, this, slot);
    };
    add("File", QStringLiteral("生成文件"), QStringLiteral("生成本月的银行报盘文件"),
        [this] { writeFile(); });
    add("Print", QStringLiteral("打印"), QStringLiteral("预览并打印报送银行账目表"), [this] { printList(); });
    add("Disk", QStringLiteral("拷盘"), QStringLiteral("把本月的报盘文件复制到磁盘"),
        [this] { copyToDisk(); });
    tlbMnu->addSeparator();
    add("Exit", QStringLiteral("退出"), QStringLiteral("关闭本窗口"), [this] { close(); });
}

QAction* frmBP::action(const QString& key) const {
    for (QAction* a : tlbMnu->actions())
        if (a->objectName() == key)
            return a;
    return nullptr;
}

BankTemplate frmBP::currentTemplate() const {
    BankTemplate tpl;
    const auto cells = cellsOfRow();
    for (int r = 0; r < msfModel->rowCount(); ++r) {
        BankField f;
        for (int c = 0; c < kColumns; ++c)
            if (const QTableWidgetItem* it = msfModel->item(r, c))
                f.*cells[static_cast<std::size_t>(c)] = ss(it->text().trimmed());
        tpl.rows.push_back(std::move(f));
    }
    tpl.head = ss(txtHead->text());
    tpl.tail = ss(txtTail->text());
    for (int i = 0; i < txtDep->count(); ++i)
        tpl.departments.push_back(ss(txtDep->item(i)->text()));
    return tpl;
}

exchange::BankOptions frmBP::options() const {
    exchange::BankOptions opt;
    opt.fileName = ss(txtName->text().trimmed());
    // A listed choice stands for its value (TAB for its caption); anything
    // typed is the separator itself.
    const int listed = Cmbfg->findText(Cmbfg->currentText());
    opt.separator = ss(listed >= 0 ? Cmbfg->itemData(listed).toString() : Cmbfg->currentText());
    opt.sequence = CKXH->isChecked();
    opt.total = CKZJ->isChecked();
    opt.byAccount = chkBank->isChecked();
    opt.include = CmDep->currentIndex() == 1;
    return opt;
}

void frmBP::showRows(const std::vector<BankField>& rows, int current) {
    const auto cells = cellsOfRow();
    msfModel->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < msfModel->rowCount(); ++r)
        for (int c = 0; c < kColumns; ++c) {
            auto* it = new QTableWidgetItem(
                qs(rows[static_cast<std::size_t>(r)].*cells[static_cast<std::size_t>(c)]));
            // Only the width and the digit count are typed; the other cells
            // change by double click or come from the item picker.
            Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
            if (c == kWidthColumn || c == kDigitsColumn)
                flags |= Qt::ItemIsEditable;
            it->setFlags(flags);
            if (c == kWidthColumn || c == kDigitsColumn)
                it->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            msfModel->setItem(r, c, it);
        }
    if (current >= 0 && current < msfModel->rowCount())
        msfModel->setCurrentCell(current, std::max(0, msfModel->currentColumn()));
    fitColumns();
}

void frmBP::fitColumns() {
    // Every value a double click can bring counts, not only those shown now.
    static const std::array<std::vector<const char*>, kColumns> cycled = {{
        {},
        {exchange::kTypeNumber, exchange::kTypeText},
        {"99"},
        {exchange::kAlignLeft, exchange::kAlignCentre, exchange::kAlignRight},
        {},
        {exchange::kPointShown},
        {"99"},
    }};
    const QFontMetrics fm(msfModel->font());
    const int chrome =
        2 * (msfModel->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, msfModel) + 1) + 1;
    for (int c = 0; c < kColumns; ++c) {
        int w = gridwidths::fittedWidth(msfModel, c);
        for (const char* text : cycled[static_cast<std::size_t>(c)])
            w = std::max(w, fm.horizontalAdvance(QString::fromUtf8(text)) + chrome);
        msfModel->setColumnWidth(c, w);
    }
}

void frmBP::showDepartments(const std::vector<std::string>& entries, int current) {
    txtDep->clear();
    for (const std::string& e : entries)
        txtDep->addItem(qs(e));
    if (current >= 0 && current < txtDep->count())
        txtDep->setCurrentRow(current);
}

void frmBP::focusCell(const std::string& rowCol) {
    // A cell is "row,col", counting grid rows from the heading row 0; any
    // other focus names a control.
    const auto comma = rowCol.find(',');
    if (comma == std::string::npos) {
        if (auto* w = rowCol.empty() ? nullptr : findChild<QWidget*>(qs(rowCol)))
            w->setFocus();
        return;
    }
    bool rowOk = false, colOk = false;
    const int row = QString::fromStdString(rowCol.substr(0, comma)).toInt(&rowOk) - 1;
    const int col = QString::fromStdString(rowCol.substr(comma + 1)).toInt(&colOk);
    if (!rowOk || !colOk || row < 0 || row >= msfModel->rowCount() || col < 0 || col >= kColumns)
        return;
    msfModel->setCurrentCell(row, col);
    msfModel->setFocus();
}

bool frmBP::checked(BankTemplate& tpl) {
    const Outcome check = exchange::checkBankTemplate(tpl);
    if (!check.ok) {
        check.show(p_);
        focusCell(check.focus);
        return false;
    }
    // A digit count cut to its width shows as it will be used.
    const int row = msfModel->currentRow();
    showRows(tpl.rows, row);
    return true;
}

void frmBP::finishEdit() {
    commitOpenEdit(msfModel);
}

void frmBP::cmdOk_Click() {
    finishEdit();
    guarded([this] {
        BankTemplate tpl = currentTemplate();
        if (!checked(tpl))
            return;
        exchange::saveBankTemplate(s_, tpl).show(p_);
    });
}

void frmBP::cmdMove_Click(int delta) {
    finishEdit();
    BankTemplate tpl = currentTemplate();
    const int row = msfModel->currentRow();
    const Outcome moved = exchange::moveBankRow(tpl, row, delta);
    if (!moved.ok) {
        moved.show(p_);
        return;
    }
    showRows(tpl.rows, row + delta);
}

void frmBP::cmdDel_Click() {
    finishEdit();
    BankTemplate tpl = currentTemplate();
    const int row = msfModel->currentRow();
    if (!exchange::removeBankRow(tpl, row))
        return;
    showRows(tpl.rows, std::min(row, static_cast<int>(tpl.rows.size()) - 1));
}

void frmBP::cmdCancel_Click() {
    finishEdit();
    guarded([this] {
        frmBPHelp help(s_, this);
        if (help.exec() != QDialog::Accepted || help.picked().empty())
            return;
        BankTemplate tpl = currentTemplate();
        const int first = static_cast<int>(tpl.rows.size());
        tpl.rows.insert(tpl.rows.end(), help.picked().begin(), help.picked().end());
        showRows(tpl.rows, first);
    });
}

void frmBP::cycle(int row, int column) {
    if (row < 0 || row >= msfModel->rowCount())
        return;
    BankTemplate tpl = currentTemplate();
    if (exchange::cycleCell(tpl.rows[static_cast<std::size_t>(row)], column))
        showRows(tpl.rows, row);
}

void frmBP::addDepartment() {
    guarded([this] {
        frmDepHelp help(s_, this);
        if (help.exec() != QDialog::Accepted || help.code().empty())
            return;
        BankTemplate tpl = currentTemplate();
        const int at = exchange::addBankDepartment(tpl, help.code(), help.name());
        showDepartments(tpl.departments, at);
    });
}

void frmBP::removeDepartments() {
    if (txtDep->count() == 0)
        return;
    frmBankHelp(txtDep, this).exec();
}

void frmBP::writeFile() {
    finishEdit();
    guarded([this] {
        BankTemplate tpl = currentTemplate();
        if (!checked(tpl))
            return;
        Progress& progress = progress_ ? *progress_ : silent_;
        exchange::writeBankFile(s_, tpl, options(), p_, progress).show(p_);
    });
}

void frmBP::printList() {
    finishEdit();
    guarded([this] {
        BankTemplate tpl = currentTemplate();
        if (!tpl.rows.empty() && !checked(tpl))
            return;
        Progress& progress = progress_ ? *progress_ : silent_;
        // Without rows there is nothing to gather: the list refuses at once.
        const exchange::BankData data =
            tpl.rows.empty() ? exchange::BankData{} : exchange::collectBankData(s_, tpl, options(), progress);
        exchange::ControlList list = exchange::bankControlList(s_, tpl, data);
        if (!list.job) {
            list.refusal.show(p_);
            return;
        }
        Preview(*list.job, this);
    });
}

void frmBP::copyToDisk() {
    guarded([this] {
        const QString folder =
            chooseFolder_
                ? chooseFolder_()
                : QFileDialog::getExistingDirectory(this, QStringLiteral("请选择磁盘（文件夹）"), QString());
        if (folder.isEmpty())
            return;
        exchange::copyBankFile(s_, ss(txtName->text().trimmed()), ss(folder), p_).show(p_);
    });
}
