#include "screens/session/frmSysSet.h"
#include "screens/session/ScreenSupport.h"

#include "core/settings.h"
#include "core/startup.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

frmSysSet::frmSysSet(gzgl::Session& s, gzgl::Prompt& p, QWidget* parent) : QDialog(parent), s_(s), p_(p) {
    setObjectName("frmSysSet");
    setWindowTitle(QStringLiteral("系统设置"));
    Check1 = new QCheckBox(QStringLiteral("启用不计算的工资项目功能"), this);
    Check1->setObjectName("Check1");
    Check1->setChecked(gzgl::IsNotCalcOn(s_));
    auto [box, cmdOk, cmdCancel] = okCancelButtons(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Check1);
    layout->addWidget(box);
    connect(cmdOk, &QPushButton::clicked, this, &frmSysSet::confirm);
}

void frmSysSet::confirm() {
    try {
        gzgl::setNotCalc(s_, Check1->isChecked());
    } catch (const gzgl::DbError& e) {
        p_.message(e.what(), s_.productShortName, gzgl::Icon::Critical);
        return;
    }
    accept();
}
