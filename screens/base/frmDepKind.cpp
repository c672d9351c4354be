#include "screens/base/frmDepKind.h"

#include "base/types.h"
#include "core/text.h"
#include "screens/base/frmDK1.h"
#include "screens/base/frmDK2.h"
#include "screens/session/ScreenSupport.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

using namespace gzgl;

frmDepKind::frmDepKind(Session& s, Prompt& p, QWidget* parent) : QWidget(parent), s_(s), p_(p) {
    setObjectName("frmDepKind");
    setWindowTitle(QStringLiteral("部门分类定义"));
    msfKind = new QTableWidget(0, 2, this);
    msfKind->setObjectName("msfKind");
    msfKind->setHorizontalHeaderLabels({QStringLiteral("编号"), QStringLiteral("类型名称")});
    msfKind->setSelectionBehavior(QAbstractItemView::SelectRows);
    msfKind->setSelectionMode(QAbstractItemView::SingleSelection);
    msfKind->setEditTriggers(QAbstractItemView::NoEditTriggers);
    msfKind->verticalHeader()->setVisible(false);
    msfKind->horizontalHeader()->setStretchLastSection(true);
    msfKind->setColumnWidth(0, 80);

    auto button = [this](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        return b;
    };
    QPushButton* cmdAdd = button("cmdAdd", QStringLiteral("增加(&A)"));
    QPushButton* cmdModify = button("cmdModify", QStringLiteral("修改(&M)"));
    QPushButton* cmdDel = button("cmdDel", QStringLiteral("删除(&D)"));
    QPushButton* cmdExit = button("cmdExit", QStringLiteral("退出(&X)"));
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {cmdAdd, cmdModify, cmdDel})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(cmdExit);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(msfKind, 1);
    layout->addLayout(buttons);

    connect(cmdAdd, &QPushButton::clicked, this, [this] { openAdd(); });
    connect(cmdModify, &QPushButton::clicked, this, [this] { openModify(); });
    connect(cmdDel, &QPushButton::clicked, this, &frmDepKind::deleteType);
    connect(msfKind, &QTableWidget::cellDoubleClicked, this, [this](int row) {
        // The empty last row opens nothing.
        if (!trim(cell(row, 0)).empty())
            openModify();
    });
    connect(cmdExit, &QPushButton::clicked, this, [this] { (parentWidget() ? parentWidget() : this)->close(); });
    reload();
    resize(420, 360);
}

void frmDepKind::reload() {
    const int keep = msfKind->currentRow();
    const std::vector<base::TypeRow> types = base::departmentTypes(s_);
    msfKind->clearContents();
    msfKind->setRowCount(static_cast<int>(types.size()) + 1);
    for (int r = 0; r < msfKind->rowCount(); ++r)
        for (int c = 0; c < 2; ++c) {
            QString text;
            if (r < static_cast<int>(types.size()))
                text = qs(c == 0 ? types[static_cast<std::size_t>(r)].code : types[static_cast<std::size_t>(r)].name);
            auto* item = new QTableWidgetItem(text);
            item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
            msfKind->setItem(r, c, item);
        }
    if (keep >= 0)
        msfKind->setCurrentCell(std::min(keep, msfKind->rowCount() - 1), 0);
}

std::string frmDepKind::cell(int row, int column) const {
    const QTableWidgetItem* item = row >= 0 ? msfKind->item(row, column) : nullptr;
    return item ? ss(item->text()) : std::string();
}

std::string frmDepKind::currentNo() const { return trim(cell(msfKind->currentRow(), 0)); }

frmDK1* frmDepKind::openAdd() {
    auto* dlg = new frmDK1(s_, p_, this);
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    connect(dlg, &frmDK1::typeAdded, this, &frmDepKind::reload);
    dlg->open();
    return dlg;
}

frmDK2* frmDepKind::openModify() {
    const std::string no = currentNo();
    if (no.empty()) {
        p_.message("请选择所需修改的部门类型!", s_.productTitle, Icon::Exclamation);
        return nullptr;
    }
    auto* dlg = new frmDK2(s_, p_, no, cell(msfKind->currentRow(), 1), this);
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    connect(dlg, &QDialog::accepted, this, &frmDepKind::reload);
    dlg->open();
    return dlg;
}

void frmDepKind::deleteType() {
    const Outcome o = base::deleteDepartmentType(s_, p_, currentNo());
    applyOutcome(this, p_, o);
    if (o.ok)
        reload();
}
