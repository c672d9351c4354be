#include "screens/session/frmAbout.h"

#include "screens/session/ScreenSupport.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSysInfo>
#include <QVBoxLayout>

frmAbout::frmAbout(const gzgl::Session& s, QWidget* parent) : QWidget(parent) {
    setObjectName("frmAbout");
    setWindowTitle(QStringLiteral("关于工资系统"));
    auto* title = new QLabel(qs(s.productTitle), this);
    QFont f = title->font();
    f.setPointSize(f.pointSize() + 6);
    f.setBold(true);
    title->setFont(f);
    auto* text = new QLabel(QStringLiteral("版本 0.1\n\n管理工资任务、部门、职工、工资项目与公式，\n"
                                           "录入和计算当月工资，打印工资表，生成银行文件与会计凭证，\n"
                                           "并进行月末结转。\n\n数据目录：") +
                                qs(s.appPath),
                            this);
    auto* info = new QPushButton(QStringLiteral("系统信息"), this);
    info->setObjectName("cmdSysInfo");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(text);
    layout->addWidget(info, 0, Qt::AlignRight);
    connect(info, &QPushButton::clicked, this, [this] {
        QMessageBox::information(this, QStringLiteral("系统信息"),
                                 QStringLiteral("操作系统：%1\n内核：%2 %3\n处理器架构：%4\nQt 版本：%5")
                                     .arg(QSysInfo::prettyProductName(), QSysInfo::kernelType(),
                                          QSysInfo::kernelVersion(), QSysInfo::currentCpuArchitecture(),
                                          QString::fromLatin1(qVersion())));
    });
}
