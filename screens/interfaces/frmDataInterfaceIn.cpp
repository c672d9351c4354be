#include "screens/interfaces/frmDataInterfaceIn.h"
#include "screens/interfaces/frmDataLoad.h"

#include "exchange/interface_import.h"
#include "screens/session/ScreenSupport.h"

#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

QString skippedLinesText(const std::vector<gzgl::exchange::SkippedLine>& skipped) {
    QString text;
    for (const gzgl::exchange::SkippedLine& l : skipped)
        text += QStringLiteral("第%1行：").arg(l.line) + qs(l.reason) + "\n    " + qs(l.text) + "\n";
    return text;
}

frmDataInterfaceIn::frmDataInterfaceIn(gzgl::Session& s, gzgl::Prompt& p, gzgl::Progress* progress,
                                       QWidget* parent)
    : QWidget(parent), s_(s), p_(p), progress_(progress) {
    setObjectName("frmDataInterfaceIn");
    setWindowTitle(QStringLiteral("数据接口导入"));

    lblTask = new QLabel(this);
    lblTask->setObjectName("lblTask");
    lblTask->setWordWrap(true);
    const FileBox file = fileBox(this, "txtFile", "cmdBrowse", {}, 36);
    txtFile = file.edit;
    cmdBrowse = file.button;
    cmdok = namedButton(this, "cmdok", QStringLiteral("导入(&I)"));
    cmdDataLoad = namedButton(this, "cmdDataLoad", QStringLiteral("数据加载(&L)..."));
    cmdExit = namedButton(this, "cmdExit", QStringLiteral("退出(&X)"));
    txtSkipped = new QPlainTextEdit(this);
    txtSkipped->setObjectName("txtSkipped");
    txtSkipped->setReadOnly(true);
    txtSkipped->setPlaceholderText(QStringLiteral("没有导入的行将列在这里。"));

    auto* importBox = new QGroupBox(QStringLiteral("从工资查询导出的文本文件导入当月工资数据"), this);
    auto* importLayout = new QVBoxLayout(importBox);
    importLayout->addWidget(lblTask);
    importLayout->addWidget(new QLabel(QStringLiteral("请选择要导入的文件："), importBox));
    importLayout->addLayout(file.row);
    importLayout->addWidget(new QLabel(QStringLiteral("没有导入的行："), importBox));
    importLayout->addWidget(txtSkipped, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdDataLoad);
    buttons->addStretch(1);
    buttons->addWidget(cmdok);
    buttons->addWidget(cmdExit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(importBox, 1);
    layout->addLayout(buttons);

    auto* keys = new EnterKeys(this);
    keys->on(txtFile, [this] { cmdok->click(); });
    connect(cmdBrowse, &QPushButton::clicked, this, &frmDataInterfaceIn::browse);
    connect(cmdok, &QPushButton::clicked, this, &frmDataInterfaceIn::importFile);
    connect(cmdDataLoad, &QPushButton::clicked, this, &frmDataInterfaceIn::openDataLoad);
    connect(cmdExit, &QPushButton::clicked, this, &QWidget::close);
    showTask();
}

void frmDataInterfaceIn::showTask() {
    // The file must belong to the open task and month; say which those are.
    if (s_.loggedIn())
        lblTask->setText(QStringLiteral("当前任务：") + qs(s_.curTaskID + " " + s_.curTaskName) +
                         QStringLiteral("，工资期数：") + qs(s_.curPeriod));
    else
        lblTask->setText(QStringLiteral("没有登录工资任务：请先登录要导入的任务。数据加载文件不需要登录。"));
}

void frmDataInterfaceIn::browse() {
    browseForFile(this, txtFile, QStringLiteral("请选择要导入的文件"), QString::fromUtf8(kTextFileFilter));
}

void frmDataInterfaceIn::importFile() {
    showTask();
    gzgl::SilentProgress quiet;
    gzgl::exchange::InterfaceImportResult r;
    {
        WaitCursor wait;
        r = gzgl::exchange::importInterfaceFile(s_, ss(QDir::fromNativeSeparators(txtFile->text().trimmed())),
                                                progress_ ? *progress_ : quiet);
    }
    txtSkipped->setPlainText(skippedLinesText(r.skipped));
    applyOutcome(this, p_, r.outcome);
}

void frmDataInterfaceIn::openDataLoad() {
    frmDataLoad(s_, p_, progress_, this).exec();
    showTask();
}
