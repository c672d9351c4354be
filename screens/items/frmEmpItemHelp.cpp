#include "screens/items/frmEmpItemHelp.h"

#include "items/pickers.h"
#include "screens/session/ScreenSupport.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

using namespace gzgl;

frmEmpItemHelp::frmEmpItemHelp(Session& s, const QString& codes, QWidget* parent) : QDialog(parent) {
    setObjectName("frmEmpItemHelp");
    setWindowTitle(QStringLiteral("工资项目"));
    auto* lstItem = new QListWidget(this);
    lstItem->setObjectName("lstItem");
    for (const items::ItemChoice& c : items::describeCodes(s, ss(codes)))
        lstItem->addItem(qs(c.code + " " + c.name));
    auto* box = new QDialogButtonBox(this);
    QPushButton* close = box->addButton(QStringLiteral("关闭(&C)"), QDialogButtonBox::RejectRole);
    close->setObjectName("cmdClose");
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lstItem);
    layout->addWidget(box);
}
