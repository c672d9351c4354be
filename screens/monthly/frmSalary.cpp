#include "screens/monthly/frmSalary.h"

#include "base/tree.h"
#include "monthly/entry_export.h"
#include "print/screen_jobs.h"
#include "screens/base/frmDepHelp.h"
#include "screens/items/frmSalarySet.h"
#include "screens/monthly/EntryGridModel.h"
#include "screens/monthly/frmInput.h"
#include "screens/monthly/frmTrace.h"
#include "screens/print/PrintDialogs.h"
#include "screens/session/GridWidths.h"
#include "screens/session/ScreenSupport.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

using namespace gzgl;

namespace {
constexpr int kScreenId = 1; // ActiveGridScreen of the entry grid
} // namespace

frmSalary::frmSalary(Session& s, Prompt& p, Progress* progress, QWidget* parent)
    : QWidget(parent), s_(s), p_(p), progress_(progress ? *progress : silent_), entry_(s) {
    setObjectName("frmSalary");
    setWindowTitle(qs(monthly::kEntryTitle));
    buildToolbar();

    auto edit = [this](const char* name, int width) {
        auto* e = new QLineEdit(this);
        e->setObjectName(name);
        if (width > 0)
            e->setFixedWidth(width);
        return e;
    };
    txtDep = edit("txtDep", 200);
    txtDep->setToolTip(QStringLiteral("输入部门编号后回车，或点击右侧按钮选择部门"));
    cmdDep = new QPushButton(QStringLiteral("…"), this);
    cmdDep->setObjectName("cmdDep");
    cmdDep->setFixedWidth(28);
    lblRs = new QLabel(this);
    lblRs->setObjectName("lblRs");
    txtQueryNo = edit("txtQueryNo", 90);
    txtQueryName = edit("txtQueryName", 90);
    cmdQuery = new QPushButton(QStringLiteral("查询(&Q)"), this);
    cmdQuery->setObjectName("cmdQuery");

    model_ = new EntryGridModel(entry_, this);
    msfInput = new EntryGridView(this);
    msfInput->setObjectName("msfInput");
    msfInput->setModel(model_);
    msfInput->setSelectionMode(QAbstractItemView::SingleSelection);
    msfInput->setSelectionBehavior(QAbstractItemView::SelectItems);
    msfInput->setEditTriggers(QAbstractItemView::NoEditTriggers);
    msfInput->setWordWrap(false);
    msfInput->setAlternatingRowColors(false);
    // Fixed row heights keep ten thousand rows quick to lay out.
    msfInput->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    msfInput->verticalHeader()->setDefaultSectionSize(msfInput->fontMetrics().height() + 6);
    msfInput->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    msfInput->installEventFilter(this);
    // Item codes differ in meaning from task to task.
    widths_ = new ColumnWidthMemory(msfInput, "frmSalary/" + qs(s_.curTaskID),
                                    [this](int c) { return qs(entry_.grid().cell(0, c)); });

    txtEdit = new QLineEdit(msfInput->viewport());
    txtEdit->setObjectName("txtEdit");
    txtEdit->setFrame(false);
    txtEdit->hide();
    txtEdit->installEventFilter(this);

    auto* bar = new QHBoxLayout;
    bar->addWidget(new QLabel(QStringLiteral("部门："), this));
    bar->addWidget(txtDep);
    bar->addWidget(cmdDep);
    bar->addSpacing(12);
    bar->addWidget(lblRs);
    bar->addStretch();
    bar->addWidget(new QLabel(QStringLiteral("编号："), this));
    bar->addWidget(txtQueryNo);
    bar->addWidget(new QLabel(QStringLiteral("姓名："), this));
    bar->addWidget(txtQueryName);
    bar->addWidget(cmdQuery);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 0, 4, 4);
    layout->addWidget(tlbMenu);
    layout->addLayout(bar);
    layout->addWidget(msfInput, 1);

    connect(msfInput, &QTableView::doubleClicked, this,
            [this](const QModelIndex& i) { openEdit(i, i.data().toString(), true); });
    // Leaving the cell ends its edit.
    connect(msfInput->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] {
        if (txtEdit->isVisible())
            finishEdit();
    });
    connect(msfInput->horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] { placeEditBox(); });
    connect(msfInput->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { placeEditBox(); });
    connect(msfInput->horizontalHeader(), &QHeaderView::sectionResized, this, [this] { placeEditBox(); });
    connect(cmdDep, &QPushButton::clicked, this, [this] {
        frmDepHelp help(s_, this);
        if (help.exec() == QDialog::Accepted && !help.code().empty())
            chooseDepartment(help.code());
    });
    connect(cmdQuery, &QPushButton::clicked, this, &frmSalary::query);
    // 计算过程 on a row: how its figures come about.
    auto* actTrace = new QAction(QStringLiteral("计算过程(&T)"), msfInput);
    actTrace->setObjectName("actTrace");
    msfInput->addAction(actTrace);
    msfInput->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(actTrace, &QAction::triggered, this, [this] { openTrace(); });
    auto* keys = new EnterKeys(this);
    keys->on(txtDep, [this] { chooseDepartment(base::textBeforeBlank(ss(txtDep->text()))); });
    keys->moveTo(txtQueryNo, txtQueryName);
    keys->on(txtQueryName, [this] { query(); });

    s_.activeGridScreen = kScreenId;
    guarded([this] { entry_.open(progress_); });
    applyGrid();
}

frmSalary::~frmSalary() {
    // The children outlive the entry they show: cut them off from it
    // before the members go.
    delete input_;
    msfInput->removeEventFilter(this);
    txtEdit->removeEventFilter(this);
    for (QObject* sender : std::initializer_list<QObject*>{
             msfInput->selectionModel(), msfInput->horizontalScrollBar(), msfInput->verticalScrollBar(),
             msfInput->horizontalHeader()})
        sender->disconnect(this);
    msfInput->setModel(nullptr);
    // Closed without the question (the program ending): the fit button
    // must not reach for this grid any more.
    if (s_.activeGridScreen == kScreenId)
        s_.activeGridScreen = 0;
}

template <class F> bool frmSalary::guarded(F&& f) {
    try {
        f();
        return true;
    } catch (const DbError& e) {
        p_.message(e.what(), s_.productTitle, Icon::Critical);
    } catch (const std::exception& e) {
        p_.message(e.what(), s_.productTitle, Icon::Critical);
    }
    return false;
}

void frmSalary::buildToolbar() {
    tlbMenu = namedToolBar(this, "tlbMenu");
    auto add = [this](const char* key, const QString& text, auto slot) {
        QAction* a = namedAction(tlbMenu, key, text);
        connect(a, &QAction::triggered, this, slot);
    };
    add("KeySet", QStringLiteral("设置"), [this] { openSettings(); });
    add("KeyInput", QStringLiteral("单人录入"), [this] { openInput(); });
    tlbMenu->addSeparator();
    add("KeyPreview", QStringLiteral("预览"), [this] { print(true); });
    add("KeyPrint", QStringLiteral("打印"), [this] { print(false); });
    add("KeyExcel", QStringLiteral("Excel"), [this] { exportExcel(); });
    tlbMenu->addSeparator();
    add("KeyExit", QStringLiteral("退出"), [this] { close(); });
}

QAction* frmSalary::action(const QString& key) const {
    for (QAction* a : tlbMenu->actions())
        if (a->objectName() == key)
            return a;
    return nullptr;
}

void frmSalary::applyGrid() {
    if (input_)
        input_->close();
    txtEdit->hide();
    model_->reload();
    for (int c = 0; c < entry_.grid().cols(); ++c)
        msfInput->setColumnHidden(c, !entry_.columnVisible(c));
    msfInput->horizontalHeader()->setMinimumHeight(entry_.showCodes() ? 2 * fontMetrics().height() + 8 : 0);
    // The item's own width is a floor; the caption and the widest figure
    // as drawn decide beyond it.
    const int dpi = logicalDpiX();
    widths_->apply([this, dpi](int c) { return entry_.columnTwips(c) * dpi / 1440; });
    showDepartment();
    // The cursor starts on the first cell that can be typed in.
    if (model_->rowCount() > 0) {
        const auto [r, c] = entry_.nextCell(calc::kFirstEmployeeRow, -1);
        setCurrentCell(r, c);
    }
}

void frmSalary::showDepartment() {
    txtDep->setText(entry_.depNo().empty() ? qs(entry_.depName())
                                           : qs(entry_.depNo() + "  " + entry_.depName()));
    lblRs->setText(qs(entry_.headcount()));
}

void frmSalary::setCurrentCell(int gridRow, int col) {
    const QModelIndex i = model_->index(EntryGridModel::modelRow(gridRow), col);
    if (!i.isValid())
        return;
    msfInput->setCurrentIndex(i);
    msfInput->scrollTo(i);
}

bool frmSalary::openEdit(const QModelIndex& index, const QString& text, bool selectAll) {
    if (!index.isValid())
        return false;
    const int r = EntryGridModel::gridRow(index.row()), c = index.column();
    if (!entry_.editable(r, c))
        return false;
    if (txtEdit->isVisible() && !finishEdit())
        return false;
    editRow_ = r;
    editCol_ = c;
    editStart_ = entry_.grid().cell(r, c);
    txtEdit->setAlignment(entry_.column(c).type == "数字" ? Qt::AlignRight : Qt::AlignLeft);
    txtEdit->setText(text);
    placeEditBox();
    txtEdit->show();
    txtEdit->setFocus();
    if (selectAll)
        txtEdit->selectAll();
    else
        txtEdit->end(false);
    return true;
}

void frmSalary::placeEditBox() {
    if (editRow_ < 0)
        return;
    const QRect rect = msfInput->visualRect(model_->index(EntryGridModel::modelRow(editRow_), editCol_));
    txtEdit->setGeometry(rect);
}

bool frmSalary::finishEdit() {
    if (!txtEdit->isVisible() || ending_)
        return true;
    ending_ = true;
    const int r = editRow_, c = editCol_;
    const std::string text = ss(txtEdit->text());
    txtEdit->hide();
    monthly::EditResult res;
    res.shown = editStart_;
    if (!guarded([&] { res = entry_.endEdit(r, c, editStart_, text); }))
        res.outcome = Outcome::refuse({}, {}, Icon::None);
    model_->gridRowChanged(r);
    editRow_ = editCol_ = -1;
    res.outcome.show(p_);
    msfInput->setFocus();
    ending_ = false;
    return res.outcome.ok;
}

void frmSalary::cancelEdit() {
    txtEdit->hide();
    editRow_ = editCol_ = -1;
    msfInput->setFocus();
}

void frmSalary::finishAndMove(Move m) {
    const int r = editRow_ >= 0 ? editRow_ : EntryGridModel::gridRow(msfInput->currentIndex().row());
    const int c = editCol_ >= 0 ? editCol_ : msfInput->currentIndex().column();
    if (!finishEdit())
        return;
    switch (m) {
    case Move::Next: {
        const auto [nr, nc] = entry_.nextCell(r, c);
        setCurrentCell(nr, nc);
        break;
    }
    case Move::Up:
        setCurrentCell(entry_.rowAbove(r), c);
        break;
    case Move::Down:
        setCurrentCell(entry_.rowBelow(r), c);
        break;
    }
}

bool frmSalary::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtEdit) {
        if (event->type() == QEvent::KeyPress) {
            auto* k = static_cast<QKeyEvent*>(event);
            switch (k->key()) {
            case Qt::Key_Return:
            case Qt::Key_Enter:
                finishAndMove(Move::Next);
                return true;
            case Qt::Key_Escape:
                cancelEdit();
                return true;
            case Qt::Key_Up:
                finishAndMove(Move::Up);
                return true;
            case Qt::Key_Down:
                finishAndMove(Move::Down);
                return true;
            default:
                break;
            }
        } else if (event->type() == QEvent::FocusOut && txtEdit->isVisible() && !ending_) {
            // Clicking elsewhere leaves the cell; a message box of this
            // very edit takes the focus while ending_ is set.
            QMetaObject::invokeMethod(this, [this] { finishEdit(); }, Qt::QueuedConnection);
        }
    } else if (watched == msfInput) {
        if (event->type() == QEvent::FocusIn) {
            s_.activeGridScreen = kScreenId;
        } else if (event->type() == QEvent::KeyPress) {
            auto* k = static_cast<QKeyEvent*>(event);
            const QModelIndex cur = msfInput->currentIndex();
            if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
                if (cur.isValid())
                    finishAndMove(Move::Next);
                return true;
            }
            if (k->key() == Qt::Key_F2)
                return openEdit(cur, cur.data().toString(), true);
            const QString t = k->text();
            if (!t.isEmpty() && t.at(0).isPrint() && !(k->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
                return openEdit(cur, t, false);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmSalary::chooseDepartment(const std::string& depNo) {
    if (!finishEdit())
        return;
    guarded([&] { entry_.chooseDepartment(depNo, progress_); });
    applyGrid();
}

void frmSalary::query() {
    if (!finishEdit())
        return;
    Outcome o;
    if (!guarded([&] { o = entry_.find(ss(txtQueryNo->text()), ss(txtQueryName->text()), progress_); }))
        return;
    if (!o.ok) {
        applyOutcome(this, p_, o);
        return;
    }
    applyGrid();
}

void frmSalary::openSettings() {
    if (!finishEdit())
        return;
    frmSalarySet set(s_, entry_.settings(), this);
    if (set.exec() != QDialog::Accepted)
        return;
    guarded([&] { entry_.applySettings(set.settings(), progress_); });
    applyGrid();
}

std::optional<int> frmSalary::currentGridRow() {
    if (!finishEdit())
        return std::nullopt;
    const QModelIndex cur = msfInput->currentIndex();
    if (!cur.isValid())
        return std::nullopt;
    return EntryGridModel::gridRow(cur.row());
}

frmInput* frmSalary::openInput() {
    const std::optional<int> row = currentGridRow();
    if (!row)
        return nullptr;
    if (input_)
        input_->close();
    input_ = new frmInput(entry_, p_, *row, this);
    input_->setAttribute(Qt::WA_DeleteOnClose);
    connect(input_, &frmInput::rowChanged, this, [this](int r) {
        model_->gridRowChanged(r);
        setCurrentCell(r, msfInput->currentIndex().column());
    });
    input_->show();
    return input_;
}

bool frmSalary::exportTo(const QString& path, bool withAccounts) {
    bool written = false;
    guarded([&] {
        written = monthly::exportSheet(p_, s_.productTitle, ss(path),
                                       withAccounts ? monthly::entrySheetWithAccounts(entry_)
                                                    : monthly::entrySheet(entry_));
    });
    return written;
}

void frmSalary::exportExcel() {
    if (!finishEdit())
        return;
    // The engine asks before overwriting, in the system's words.
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("保存文件"), QString(),
                                                QStringLiteral("EXCEL(*.xlsx)"), nullptr,
                                                QFileDialog::DontConfirmOverwrite);
    if (path.isEmpty())
        return;
    if (!path.endsWith(".xlsx", Qt::CaseInsensitive))
        path += ".xlsx";
    exportTo(path, p_.askYesNo(monthly::kWithAccountsQuestion, s_.productTitle, Icon::Question));
}

void frmSalary::print(bool preview) {
    if (!finishEdit())
        return;
    guarded([&] {
        print::clsGridPrint job = print::entryGridJob(s_, entry_.grid(), entry_.columns(), entry_.depName());
        if (const auto none = print::noDataMessage(job.grid(), preview)) {
            none->show(p_);
            return;
        }
        if (preview)
            Preview(job, this);
        else
            PrintOut(job, this, p_, choosePdf_);
    });
}

void frmSalary::closeEvent(QCloseEvent* e) {
    if (!p_.askYesNo(monthly::kCloseQuestion, s_.productTitle, Icon::Question)) {
        e->ignore();
        return;
    }
    if (s_.activeGridScreen == kScreenId)
        s_.activeGridScreen = 0;
    e->accept();
}

frmTrace* frmSalary::openTrace() {
    const std::optional<int> row = currentGridRow();
    std::string text;
    if (!row || !guarded([&] { text = entry_.traceText(*row); }))
        return nullptr;
    auto* trace = new frmTrace(qs(text), this);
    trace->setAttribute(Qt::WA_DeleteOnClose);
    trace->show();
    return trace;
}
