#include "screens/base/frmAddEmpApplst.h"

#include "base/employees.h"
#include "screens/session/ScreenSupport.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

using namespace gzgl;

frmAddEmpApplst::frmAddEmpApplst(Session& s, QLineEdit* target, QWidget* parent)
    : QDialog(parent), target_(target) {
    setObjectName("frmAddEmpApplst");
    setWindowTitle(QStringLiteral("工资项目列表"));
    lstApp = new QListWidget(this);
    lstApp->setObjectName("lstApp");
    for (const items::ItemChoice& c : base::formulaItemChoices(s)) {
        auto* i = new QListWidgetItem(qs(c.code + " " + c.name), lstApp);
        i->setData(Qt::UserRole, qs(c.code));
    }
    if (lstApp->count() > 0)
        lstApp->setCurrentRow(0);
    auto* box = new QDialogButtonBox(this);
    QPushButton* close = box->addButton(QStringLiteral("关闭(&C)"), QDialogButtonBox::RejectRole);
    close->setObjectName("cmdClose");
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(lstApp, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* i) { pick(lstApp->row(i)); });
    auto* keys = new EnterKeys(this);
    keys->on(lstApp, [this] { pick(lstApp->currentRow()); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lstApp);
    layout->addWidget(box);
    resize(260, 320);
}

void frmAddEmpApplst::pick(int row) {
    const QListWidgetItem* i = lstApp->item(row);
    if (!i || !target_)
        return;
    target_->setText(qs(base::appendItemCode(ss(target_->text()), ss(i->data(Qt::UserRole).toString()))));
}
