#include "screens/reports/frmQuery.h"

#include "print/screen_jobs.h"
#include "screens/print/PrintDialogs.h"
#include "screens/reports/frmSave.h"
#include "screens/session/ScreenSupport.h"

#include <QAction>
#include <QBrush>
#include <QCloseEvent>
#include <QColor>
#include <QEvent>
#include <QFileDialog>
#include <QHeaderView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

using namespace gzgl;
using namespace gzgl::reports;

void QueryModel::setResult(const QueryResult* result) {
    beginResetModel();
    r_ = result;
    endResetModel();
}

int QueryModel::rowCount(const QModelIndex& parent) const {
    // The total row follows the employee rows once there is a result.
    if (parent.isValid() || !r_ || r_->columns.empty())
        return 0;
    return static_cast<int>(r_->rows.size()) + 1;
}

int QueryModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() || !r_ ? 0 : static_cast<int>(r_->columns.size());
}

const std::string* QueryModel::utf8Cell(int row, int column) const {
    const auto r = static_cast<std::size_t>(row);
    const auto c = static_cast<std::size_t>(column);
    const std::vector<std::string>& line = r < r_->rows.size() ? r_->rows[r] : r_->total;
    return c < line.size() ? &line[c] : nullptr;
}

QVariant QueryModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !r_)
        return {};
    switch (role) {
    case Qt::DisplayRole: {
        const std::string* cell = utf8Cell(index.row(), index.column());
        return cell ? qs(*cell) : QString();
    }
    case Qt::TextAlignmentRole: {
        const QueryColumn& c = r_->columns[static_cast<std::size_t>(index.column())];
        return c.totalled() ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                            : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    }
    case Qt::BackgroundRole:
        // Shaded rather than bold: widths are measured in the grid's own
        // font, and a bolder total would be cut.
        if (index.row() == rowCount() - 1)
            return QBrush(QColor(0xf2, 0xf2, 0xea));
        return {};
    default:
        return {};
    }
}

QVariant QueryModel::headerData(int section, Qt::Orientation o, int role) const {
    if (role != Qt::DisplayRole || o != Qt::Horizontal || !r_)
        return {};
    return section >= 0 && section < columnCount()
               ? qs(r_->columns[static_cast<std::size_t>(section)].caption)
               : QVariant();
}

frmQuery::frmQuery(Session& s, Prompt& p, Progress* progress, QWidget* parent)
    : QWidget(parent), s_(s), p_(p), progress_(progress ? progress : &silent_) {
    setObjectName("frmQuery");
    setWindowTitle(qs(kQueryTitle));
    chooseFile_ = [this](const QString& title, const QString& filter) {
        // The engine asks before overwriting, in the program's words.
        return QFileDialog::getSaveFileName(this, title, QString(), filter, nullptr,
                                            QFileDialog::DontConfirmOverwrite);
    };
    runSave_ = [](QDialog& d) { d.exec(); };

    buildToolbar();
    model_ = new QueryModel(this);
    msfQuery = new QTableView(this);
    msfQuery->setObjectName("msfQuery");
    msfQuery->setModel(model_);
    msfQuery->setEditTriggers(QAbstractItemView::NoEditTriggers);
    msfQuery->setSelectionBehavior(QAbstractItemView::SelectRows);
    msfQuery->setWordWrap(false);
    msfQuery->verticalHeader()->hide();
    msfQuery->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    msfQuery->verticalHeader()->setDefaultSectionSize(msfQuery->fontMetrics().height() + 6);
    msfQuery->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    msfQuery->installEventFilter(this);
    // Item columns move with the range's items: keyed by code, the three
    // leading columns by caption.
    widths_ = new ColumnWidthMemory(msfQuery, "frmQuery", [this](int c) {
        if (c < 0 || c >= static_cast<int>(result_.columns.size()))
            return QString();
        const QueryColumn& col = result_.columns[static_cast<std::size_t>(c)];
        return qs(col.code.empty() ? col.caption : col.code);
    });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addWidget(tlbMenu);
    layout->addWidget(msfQuery, 1);

    s_.activeGridScreen = kScreenId;
}

frmQuery::~frmQuery() {
    msfQuery->removeEventFilter(this);
    msfQuery->setModel(nullptr);
    // Closed without the question (the program ending): the fit button
    // must not reach for this grid any more.
    if (s_.activeGridScreen == kScreenId)
        s_.activeGridScreen = 0;
}

frmQuery* frmQuery::openIn(QMdiArea* area) {
    for (QMdiSubWindow* sub : area->subWindowList())
        if (auto* q = qobject_cast<frmQuery*>(sub->widget()))
            return q;
    return nullptr;
}

template <class F> bool frmQuery::guarded(F&& f) {
    try {
        f();
        return true;
    } catch (const std::exception& e) {
        p_.message(e.what(), s_.productTitle, Icon::Critical);
    }
    return false;
}

void frmQuery::buildToolbar() {
    tlbMenu = namedToolBar(this, "tlbMenu");
    auto add = [this](const char* key, const QString& text, const QString& tip, auto slot) {
        QAction* a = namedAction(tlbMenu, key, text, tip);
        connect(a, &QAction::triggered, this, slot);
    };
    add("KeyQuery", QStringLiteral("查询"), QStringLiteral("重新设置查询条件"), [this] { queryAgain(); });
    tlbMenu->addSeparator();
    add("KeySave", QStringLiteral("保存"), QStringLiteral("保存为文本文件"), [this] { saveDelimited(); });
    add("SaveExcel", QStringLiteral("Excel"), QStringLiteral("导出到Excel表格"), [this] { saveExcel(); });
    tlbMenu->addSeparator();
    add("KeyPreview", QStringLiteral("预览"), QStringLiteral("打印预览"), [this] { print(true); });
    add("KeyPrint", QStringLiteral("打印"), QStringLiteral("打印"), [this] { print(false); });
    tlbMenu->addSeparator();
    add("KeyExit", QStringLiteral("退出"), QStringLiteral("退出"), [this] { close(); });
}

QAction* frmQuery::action(const QString& key) const {
    for (QAction* a : tlbMenu->actions())
        if (a->objectName() == key)
            return a;
    return nullptr;
}

void frmQuery::showResult(const QueryConditions& request, QueryResult result) {
    request_ = request;
    result_ = std::move(result);
    model_->setResult(&result_);
    for (int c = 0; c < model_->columnCount(); ++c)
        msfQuery->setColumnHidden(c, !result_.columns[static_cast<std::size_t>(c)].show);
    // The item's own width (millimetres) is a floor; the caption and the
    // widest figure as drawn decide beyond it.
    const int dpi = logicalDpiX();
    widths_->apply([this, dpi](int c) {
        if (c < 0 || c >= static_cast<int>(result_.columns.size()))
            return 0;
        return static_cast<int>(result_.columns[static_cast<std::size_t>(c)].width * dpi / 25.4);
    });
    s_.activeGridScreen = kScreenId;
}

void frmQuery::queryAgain() {
    frmQuerySet set(s_, p_, progress_, this, &request_);
    if (set.exec() == QDialog::Accepted)
        showResult(set.request(), set.queryResult());
}

void frmQuery::saveDelimited() {
    frmSave save(s_, p_, progress_, result_, this);
    runSave_(save);
}

void frmQuery::saveExcel() {
    QString path = chooseFile_(QStringLiteral("保存文件"), QStringLiteral("EXCEL(*.xlsx)"));
    if (path.isEmpty())
        return;
    if (!path.endsWith(".xlsx", Qt::CaseInsensitive))
        path += ".xlsx";
    // No hourglass: the engine may ask about overwriting on the way.
    guarded([&] { exportQueryXlsx(s_, p_, ss(path), result_); });
}

void frmQuery::print(bool preview) {
    guarded([&] {
        print::clsGridPrint job = queryJob(s_, result_, preview);
        if (const auto none = print::noDataMessage(job.grid(), preview)) {
            none->show(p_);
            return;
        }
        if (preview)
            Preview(job, this);
        else
            PrintOut(job, this, p_);
    });
}

bool frmQuery::eventFilter(QObject* watched, QEvent* event) {
    // The fit button works on the grid last used.
    if (watched == msfQuery && event->type() == QEvent::FocusIn)
        s_.activeGridScreen = kScreenId;
    return QWidget::eventFilter(watched, event);
}

void frmQuery::closeEvent(QCloseEvent* e) {
    if (!p_.askYesNo(kQueryExitQuestion, s_.productTitle, Icon::Question)) {
        e->ignore();
        return;
    }
    if (s_.activeGridScreen == kScreenId)
        s_.activeGridScreen = 0;
    e->accept();
}
