#include "screens/items/frmItemHelp.h"

#include "items/pickers.h"
#include "screens/session/ScreenSupport.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

using namespace gzgl;

frmItemHelp::frmItemHelp(Session& s, const QString& codes, QWidget* parent) : QDialog(parent) {
    setObjectName("frmItemHelp");
    setWindowTitle(QStringLiteral("选择工资项目"));
    lstItem = new QListWidget(this);
    lstItem->setObjectName("lstItem");
    const std::vector<std::string> ticked = items::splitCodes(ss(codes));
    for (const items::ItemChoice& c : items::numberItems(s)) {
        auto* i = new QListWidgetItem(qs(c.code + " " + c.name), lstItem);
        i->setData(Qt::UserRole, qs(c.code));
        i->setFlags(i->flags() | Qt::ItemIsUserCheckable);
        const bool on = std::find(ticked.begin(), ticked.end(), c.code) != ticked.end();
        i->setCheckState(on ? Qt::Checked : Qt::Unchecked);
    }
    auto [box, cmdOk, cmdCancel] = okCancelButtons(this);
    connect(cmdOk, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lstItem);
    layout->addWidget(box);
}

QString frmItemHelp::codes() const {
    std::vector<std::string> out;
    for (int i = 0; i < lstItem->count(); ++i)
        if (lstItem->item(i)->checkState() == Qt::Checked)
            out.push_back(ss(lstItem->item(i)->data(Qt::UserRole).toString()));
    return qs(items::joinCodes(out));
}
