#include "screens/session/frmHelp.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#ifndef GZGL_SOURCE_DIR
#define GZGL_SOURCE_DIR ""
#endif

QString userGuidePath() {
    QStringList candidates;
    if (const QString env = qEnvironmentVariable("GZGL_GUIDE"); !env.isEmpty())
        candidates << env;
    candidates << QCoreApplication::applicationDirPath() + "/../share/doc/gzgl/guide/index.html"
               << QStringLiteral(GZGL_SOURCE_DIR "/docs/guide/index.html");
    for (const QString& c : candidates)
        if (QFileInfo(c).isFile())
            return QFileInfo(c).canonicalFilePath();
    return {};
}

frmHelp::frmHelp(const QString& index, QWidget* parent) : QWidget(parent) {
    setObjectName("frmHelp");
    setWindowTitle(QStringLiteral("工资管理系统 用户手册"));
    browser_ = new QTextBrowser(this);
    browser_->setObjectName("txtGuide");
    browser_->setOpenExternalLinks(true);
    browser_->setSource(QUrl::fromLocalFile(index));
    auto* back = new QPushButton(QStringLiteral("后退(&B)"), this);
    back->setObjectName("cmdBack");
    auto* home = new QPushButton(QStringLiteral("目录(&H)"), this);
    home->setObjectName("cmdHome");
    connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(home, &QPushButton::clicked, browser_, &QTextBrowser::home);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(back);
    buttons->addWidget(home);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(browser_, 1);
}
