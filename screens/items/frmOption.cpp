#include "screens/items/frmOption.h"

#include "items/items.h"
#include "screens/items/ItemScreens.h"
#include "screens/items/frmAddOption.h"
#include "screens/items/frmAlterOption.h"
#include "screens/session/ScreenSupport.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace gzgl;

frmOption::frmOption(Session& s, Prompt& p, QWidget* parent) : QWidget(parent), s_(s), p_(p) {
    setObjectName("frmOption");
    setWindowTitle(QStringLiteral("工资项目定义及公式设置"));
    tbsOptions = new QTabWidget(this);
    tbsOptions->setObjectName("tbsOptions");
    tbsOptions->addTab(buildItemPage(), QStringLiteral("工资项目"));
    tbsOptions->addTab(buildFormulaPage(), QStringLiteral("计算公式"));
    tbsOptions->addTab(buildTaxPage(), QStringLiteral("所得税"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tbsOptions);
    reloadItems();
    reloadFormulas();
    reloadTaxRows();
    reloadCumulative();
    resize(820, 560);
}

QWidget* frmOption::buildItemPage() {
    auto* page = new QWidget;
    fgdList = makeGrid(page, "fgdList", items::itemListCaptions());
    // Every column fits its contents (the grid scrolls sideways when the
    // window is narrow); only the last one takes what space is left, so an
    // item name is never cut to fit.
    fgdList->horizontalHeader()->setStretchLastSection(true);
    auto button = [page](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, page);
        b->setObjectName(name);
        return b;
    };
    QPushButton* cmdAdd = button("cmdAdd", QStringLiteral("增加(&A)"));
    QPushButton* cmdAlter = button("cmdAlter", QStringLiteral("修改(&M)"));
    QPushButton* cmdDel = button("cmdDel", QStringLiteral("删除(&D)"));
    QPushButton* up = button("picAspectUp", QStringLiteral("上移 ▲"));
    QPushButton* down = button("picAspectDown", QStringLiteral("下移 ▼"));
    QPushButton* cmdExit = button("cmdExit", QStringLiteral("退出(&X)"));
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {cmdAdd, cmdAlter, cmdDel, up, down})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(cmdExit);
    auto* layout = new QHBoxLayout(page);
    layout->addWidget(fgdList, 1);
    layout->addLayout(buttons);

    connect(cmdAdd, &QPushButton::clicked, this, [this] { openAddDialog(); });
    connect(cmdAlter, &QPushButton::clicked, this, [this] { openAlterDialog(); });
    connect(fgdList, &QTableWidget::cellDoubleClicked, this, [this] { openAlterDialog(); });
    connect(cmdDel, &QPushButton::clicked, this, &frmOption::deleteItem);
    connect(up, &QPushButton::clicked, this, [this] { moveItem(true); });
    connect(down, &QPushButton::clicked, this, [this] { moveItem(false); });
    connect(cmdExit, &QPushButton::clicked, this, [this] {
        // Inside the main window the frame is the sub-window.
        (parentWidget() ? parentWidget() : this)->close();
    });
    return page;
}

void frmOption::reloadItems() {
    const std::string keep = selectedItemCode();
    fillGrid(fgdList, items::itemListRows(s_));
    for (int r = 0; r < fgdList->rowCount(); ++r)
        if (ss(fgdList->item(r, 1)->text()) == keep)
            fgdList->selectRow(r);
    fillWaitingList(lstWait, items::waitingItems(s_));
    // The tax page offers the items as they now are, keeping what is chosen.
    if (cmbIncome->count() > 0)
        fillChoiceLists(chosenItems());
}

std::string frmOption::selectedItemCode() const {
    const int r = fgdList->currentRow();
    if (r < 0 || !fgdList->item(r, 1) || fgdList->selectedItems().isEmpty())
        return {};
    return ss(fgdList->item(r, 1)->text());
}

frmAddOption* frmOption::openAddDialog() {
    auto* dlg = new frmAddOption(s_, p_, this);
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    connect(dlg, &frmAddOption::itemAdded, this, [this] { reloadItems(); });
    dlg->open();
    return dlg;
}

frmAlterOption* frmOption::openAlterDialog() {
    const std::string code = selectedItemCode();
    const std::optional<items::Item> item = code.empty() ? std::nullopt : items::findItem(s_, code);
    if (!item) {
        p_.message("请选择要修改的项目！", items::kTitle, Icon::Information);
        return nullptr;
    }
    auto* dlg = new frmAlterOption(s_, p_, *item, this);
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    connect(dlg, &QDialog::accepted, this, [this] { reloadItems(); });
    dlg->open();
    return dlg;
}

void frmOption::deleteItem() {
    const Outcome o = items::deleteItem(s_, p_, selectedItemCode());
    applyOutcome(this, p_, o);
    if (o.ok) {
        reloadItems();
        reloadFormulas();
    }
}

void frmOption::moveItem(bool up) {
    const std::string code = selectedItemCode();
    const Outcome o = items::moveItem(s_, code, up);
    applyOutcome(this, p_, o);
    if (o.ok)
        reloadItems(); // the selection follows the item
}
