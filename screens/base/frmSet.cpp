#include "screens/base/frmSet.h"

#include "screens/session/ScreenSupport.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace gzgl;

namespace {

// Captions in flag order: the department flags 0 to 2 are the columns
// 部门类型号, 级别 and 是否末级; the subjects' boxes name no optional column.
const char* const kDepBoxes[5] = {"类型号", "级别", "是否末级", "转帐科目", "转帐对方科目"};
// The employee flags 0 to 5 are one column each, flag 6 the sort number
// together with the transfer attribute.
const char* const kEmpBoxes[7] = {"民族",       "身份证号",   "养老保险账号", "住房公积金账号",
                                  "其他账号1", "其他账号2", "排列序号"};

template <std::size_t N>
QGroupBox* group(QWidget* parent, const QString& title, const char* prefix, QRadioButton*& all,
                 QRadioButton*& custom, std::array<QCheckBox*, N>& boxes, const char* const (&captions)[N]) {
    auto* g = new QGroupBox(title, parent);
    all = new QRadioButton(QStringLiteral("全部"), g);
    all->setObjectName(QString("opt%1All").arg(prefix));
    custom = new QRadioButton(QStringLiteral("自定义"), g);
    custom->setObjectName(QString("opt%1Custom").arg(prefix));
    auto* modes = new QButtonGroup(g);
    modes->addButton(all);
    modes->addButton(custom);
    auto* grid = new QGridLayout;
    for (std::size_t i = 0; i < N; ++i) {
        boxes[i] = new QCheckBox(QString::fromUtf8(captions[i]), g);
        boxes[i]->setObjectName(QString("chk%1%2").arg(prefix).arg(i));
        grid->addWidget(boxes[i], static_cast<int>(i / 2), static_cast<int>(i % 2));
    }
    auto* top = new QHBoxLayout;
    top->addWidget(all);
    top->addWidget(custom);
    top->addStretch();
    auto* layout = new QVBoxLayout(g);
    layout->addLayout(top);
    layout->addLayout(grid);
    return g;
}

} // namespace

frmSet::frmSet(Session& s, QWidget* parent) : QDialog(parent), s_(s) {
    setObjectName("frmSet");
    setWindowTitle(QStringLiteral("部门人员管理显示设置"));
    QGroupBox* dep = group(this, QStringLiteral("部门"), "Dep", optDepAll, optDepCustom, chkDep, kDepBoxes);
    QGroupBox* emp = group(this, QStringLiteral("职工"), "Emp", optEmpAll, optEmpCustom, chkEmp, kEmpBoxes);
    auto [box, cmdOk, cmdCancel] = okCancelButtons(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(dep);
    layout->addWidget(emp);
    layout->addWidget(box);

    const RosterColumns& rc = s.rosterColumns;
    (rc.depAll ? optDepAll : optDepCustom)->setChecked(true);
    (rc.empAll ? optEmpAll : optEmpCustom)->setChecked(true);
    for (std::size_t i = 0; i < chkDep.size(); ++i)
        chkDep[i]->setChecked(rc.dep[i]);
    for (std::size_t i = 0; i < chkEmp.size(); ++i)
        chkEmp[i]->setChecked(rc.emp[i]);
    followModes();

    for (QRadioButton* r : {optDepAll, optDepCustom, optEmpAll, optEmpCustom})
        connect(r, &QRadioButton::toggled, this, &frmSet::followModes);
    connect(cmdOk, &QPushButton::clicked, this, &frmSet::confirm);
}

void frmSet::followModes() {
    // In "all" mode every column shows, so the boxes have no say.
    for (QCheckBox* c : chkDep)
        c->setEnabled(optDepCustom->isChecked());
    for (QCheckBox* c : chkEmp)
        c->setEnabled(optEmpCustom->isChecked());
}

void frmSet::confirm() {
    RosterColumns& rc = s_.rosterColumns;
    rc.depAll = optDepAll->isChecked();
    rc.empAll = optEmpAll->isChecked();
    for (std::size_t i = 0; i < chkDep.size(); ++i)
        rc.dep[i] = chkDep[i]->isChecked();
    for (std::size_t i = 0; i < chkEmp.size(); ++i)
        rc.emp[i] = chkEmp[i]->isChecked();
    accept();
}
