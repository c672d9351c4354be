#include "screens/interfaces/frmDivide.h"

#include "monthly/refresh.h"
#include "print/screen_jobs.h"
#include "screens/base/frmDepHelp.h"
#include "screens/print/PrintDialogs.h"
#include "screens/session/ScreenSupport.h"

#include <QBrush>
#include <QCheckBox>
#include <QCloseEvent>
#include <QColor>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

using namespace gzgl;

void DivideModel::setSheet(const exchange::DivideSheet& sheet) {
    beginResetModel();
    headings_ = sheet.headings();
    cells_.clear();
    cells_.reserve(sheet.rows.size());
    for (const exchange::DivideRow& row : sheet.rows)
        cells_.push_back(row.cells());
    total_ = sheet.hasTotal;
    endResetModel();
}

int DivideModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(cells_.size());
}

int DivideModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(headings_.size());
}

const std::string* DivideModel::utf8Cell(int row, int column) const {
    return &cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

QVariant DivideModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return qs(*utf8Cell(index.row(), index.column()));
    case Qt::TextAlignmentRole:
        return index.column() < 2 ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                                  : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    case Qt::BackgroundRole:
        // The total row is shaded, not set in bold: the column widths are
        // measured in the grid's own font, and a bolder figure would be cut.
        if (total_ && index.row() == rowCount() - 1)
            return QBrush(QColor(0xf2, 0xf2, 0xea));
        return {};
    default:
        return {};
    }
}

QVariant DivideModel::headerData(int section, Qt::Orientation o, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (o == Qt::Vertical)
        return section + 1;
    return section >= 0 && section < columnCount() ? qs(headings_[static_cast<std::size_t>(section)])
                                                   : QVariant();
}

frmDivide::frmDivide(Session& s, Prompt& p, Progress* progress, QWidget* parent)
    : QWidget(parent), s_(s), p_(p), progress_(progress ? *progress : silent_) {
    setObjectName("frmDivide");
    setWindowTitle(qs(exchange::kDivideCaption));

    txtDep = new QLineEdit(this);
    txtDep->setObjectName("txtDep");
    txtDep->setMinimumWidth(240);
    txtDep->setMaximumWidth(360);
    cmdDep = new QPushButton(QStringLiteral("部门帮助"), this);
    cmdDep->setObjectName("cmdDep");
    chkResult = new QCheckBox(QStringLiteral("统计分割总结果"), this);
    chkResult->setObjectName("chkResult");
    cmdOk = new QPushButton(QStringLiteral("确定"), this);
    cmdOk->setObjectName("cmdOk");
    cmdOk->setDefault(true);
    cmdPreview = new QPushButton(QStringLiteral("打印预览"), this);
    cmdPreview->setObjectName("cmdPreview");

    model_ = new DivideModel(this);
    msfDivide = new QTableView(this);
    msfDivide->setObjectName("msfDivide");
    msfDivide->setModel(model_);
    msfDivide->setEditTriggers(QAbstractItemView::NoEditTriggers);
    msfDivide->setSelectionBehavior(QAbstractItemView::SelectRows);
    msfDivide->setWordWrap(false);
    msfDivide->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    msfDivide->verticalHeader()->setDefaultSectionSize(msfDivide->fontMetrics().height() + 6);
    msfDivide->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    // Columns 0 and 1 change meaning with the row kind: keyed by heading.
    widths_ = new ColumnWidthMemory(msfDivide, "frmDivide", [this](int c) {
        return model_->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    });

    auto* bar = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("部门(单位)："), this);
    label->setBuddy(txtDep);
    bar->addWidget(label);
    bar->addWidget(txtDep);
    bar->addWidget(cmdDep);
    bar->addSpacing(12);
    bar->addWidget(chkResult);
    bar->addStretch();
    bar->addWidget(cmdOk);
    bar->addWidget(cmdPreview);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(msfDivide, 1);

    connect(cmdDep, &QPushButton::clicked, this, [this] {
        frmDepHelp help(s_, this);
        if (help.exec() == QDialog::Accepted && !help.code().empty())
            txtDep->setText(qs(help.code() + "  " + help.name()));
    });
    connect(cmdOk, &QPushButton::clicked, this, &frmDivide::cmdDivide);
    connect(cmdPreview, &QPushButton::clicked, this, &frmDivide::cmdPreview_Click);
    auto* keys = new EnterKeys(this);
    keys->on(txtDep, [this] { cmdDivide(); });

    guarded([this] {
        monthly::RefreshMonthData(s_);
        txtDep->setText(qs(exchange::defaultDepartment(s_)));
    });
    showSheet();
}

template <class F> bool frmDivide::guarded(F&& f) {
    try {
        f();
        return true;
    } catch (const std::exception& e) {
        p_.message(e.what(), s_.productTitle, Icon::Critical);
    }
    return false;
}

void frmDivide::cmdDivide() {
    exchange::DivideRequest request;
    request.department = ss(txtDep->text());
    request.total = chkResult->isChecked();
    exchange::DivideResult result;
    if (!guarded([&] { result = exchange::cmdDivide(s_, request, progress_); }))
        return;
    if (!result.outcome.ok) {
        applyOutcome(this, p_, result.outcome);
        return;
    }
    sheet_ = std::move(result.sheet);
    showSheet();
}

void frmDivide::showSheet() {
    model_->setSheet(sheet_);
    // The twelve count columns share one width, that of the widest
    // heading, so that the notes read as a table; wider figures widen theirs.
    const int countWidth =
        msfDivide->horizontalHeader()->fontMetrics().horizontalAdvance(QStringLiteral("100元")) + 16;
    widths_->apply([countWidth](int c) { return c >= 3 ? countWidth : 0; });
}

void frmDivide::cmdPreview_Click() {
    guarded([&] {
        print::clsGridPrint job = exchange::divideJob(s_, sheet_);
        if (const auto none = print::noDataMessage(job.grid(), true)) {
            none->show(p_);
            return;
        }
        Preview(job, this);
    });
}

void frmDivide::closeEvent(QCloseEvent* e) {
    if (!p_.askYesNo(exchange::kDivideCloseQuestion, s_.productTitle, Icon::Question)) {
        e->ignore();
        return;
    }
    e->accept();
}
