#include "screens/base/frmSort.h"

#include "screens/base/BaseSettings.h"
#include "screens/session/ScreenSupport.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

frmSort::frmSort(QWidget* parent) : QDialog(parent) {
    setObjectName("frmSort");
    setWindowTitle(QStringLiteral("排序设置"));
    auto* group = new QGroupBox(QStringLiteral("员工排列顺序"), this);
    optEmpNo = new QRadioButton(QStringLiteral("员工编号"), group);
    optEmpNo->setObjectName("optEmpNo");
    optSortNo = new QRadioButton(QStringLiteral("排列序号"), group);
    optSortNo->setObjectName("optSortNo");
    (empSortSetting() ? optSortNo : optEmpNo)->setChecked(true);
    auto* options = new QVBoxLayout(group);
    options->addWidget(optEmpNo);
    options->addWidget(optSortNo);

    auto [box, cmdOk, cmdCancel] = okCancelButtons(this);
    connect(cmdOk, &QPushButton::clicked, this, [this] {
        setEmpSortSetting(optSortNo->isChecked());
        accept();
    });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(box);
}
