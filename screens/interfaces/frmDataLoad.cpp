#include "screens/interfaces/frmDataLoad.h"
#include "screens/interfaces/frmDataInterfaceIn.h"

#include "exchange/dataload.h"
#include "screens/session/ScreenSupport.h"

#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

frmDataLoad::frmDataLoad(gzgl::Session& s, gzgl::Prompt& p, gzgl::Progress* progress, QWidget* parent)
    : QDialog(parent), s_(s), p_(p), progress_(progress) {
    setObjectName("frmDataLoad");
    setWindowTitle(QStringLiteral("数据加载"));

    txtHelp = new QPlainTextEdit(qs(gzgl::exchange::dataLoadLayoutHelp()), this);
    txtHelp->setObjectName("txtHelp");
    txtHelp->setReadOnly(true);
    const FileBox file = fileBox(this, "txtFile", "cmdPath", {}, 36);
    txtFile = file.edit;
    cmdPath = file.button;
    txtPassword = namedEdit(this, "txtPassword");
    txtPassword->setEchoMode(QLineEdit::Password);
    txtPassword->setToolTip(QStringLiteral("文件所属任务的操作人员口令；任务不存在时，新建的任务使用此口令。"));
    cmdLoad = namedButton(this, "cmdLoad", QStringLiteral("加载(&L)"));
    cmdExport = namedButton(this, "cmdExport", QStringLiteral("生成数据文件(&E)..."));
    cmdExport->setToolTip(QStringLiteral("把当前任务本月的数据写成数据加载文件"));
    cmdExport->setEnabled(s_.loggedIn());
    cmdExit = namedButton(this, "cmdExit", QStringLiteral("退出(&X)"));
    txtSkipped = new QPlainTextEdit(this);
    txtSkipped->setObjectName("txtSkipped");
    txtSkipped->setReadOnly(true);
    txtSkipped->setPlaceholderText(QStringLiteral("记录不正确、没有导入的行将列在这里。"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("数据文件："), file.row);
    form->addRow(QStringLiteral("任务口令："), txtPassword);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdExport);
    buttons->addStretch(1);
    buttons->addWidget(cmdLoad);
    buttons->addWidget(cmdExit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(txtHelp, 2);
    layout->addLayout(form);
    layout->addWidget(new QLabel(QStringLiteral("没有导入的行："), this));
    layout->addWidget(txtSkipped, 1);
    layout->addLayout(buttons);
    // The whole layout in view: room for every line of the help text.
    const QStringList helpLines = txtHelp->toPlainText().split('\n');
    int widest = 0;
    for (const QString& line : helpLines)
        widest = std::max(widest, txtHelp->fontMetrics().horizontalAdvance(line));
    txtHelp->setMinimumSize(widest + 40, txtHelp->fontMetrics().lineSpacing() * (static_cast<int>(helpLines.size()) + 1) + 16);
    txtHelp->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtHelp->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtHelp->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    auto* keys = new EnterKeys(this);
    keys->on(txtFile, [this] { txtPassword->setFocus(); });
    keys->on(txtPassword, [this] { cmdLoad->click(); });
    connect(cmdPath, &QPushButton::clicked, this, &frmDataLoad::browse);
    connect(cmdLoad, &QPushButton::clicked, this, &frmDataLoad::load);
    connect(cmdExport, &QPushButton::clicked, this, &frmDataLoad::exportMonth);
    connect(cmdExit, &QPushButton::clicked, this, &QDialog::reject);
}

void frmDataLoad::browse() { browseForFile(this, txtFile, windowTitle(), QString::fromUtf8(kTextFileFilter)); }

void frmDataLoad::load() {
    gzgl::SilentProgress quiet;
    gzgl::exchange::DataLoadResult r;
    {
        WaitCursor wait;
        r = gzgl::exchange::loadDataFile(s_, ss(QDir::fromNativeSeparators(txtFile->text().trimmed())),
                                         ss(txtPassword->text()), progress_ ? *progress_ : quiet);
    }
    txtSkipped->setPlainText(skippedLinesText(r.skipped));
    if (r.outcome.ok)
        loadedTask_ = r.taskID;
    applyOutcome(this, p_, r.outcome);
}

void frmDataLoad::exportMonth() {
    const QString proposed = QDir::home().filePath(qs(gzgl::exchange::proposedDataFileName(s_)));
    // The question about an existing file comes from the engine, not twice.
    const QString chosen = QFileDialog::getSaveFileName(this, QStringLiteral("生成数据文件"), proposed,
                                                        QString::fromUtf8(kTextFileFilter),
                                                        nullptr, QFileDialog::DontConfirmOverwrite);
    if (chosen.isEmpty())
        return;
    gzgl::SilentProgress quiet;
    gzgl::Outcome o;
    {
        WaitCursor wait;
        o = gzgl::exchange::exportDataFile(s_, ss(chosen), p_, progress_ ? *progress_ : quiet);
    }
    applyOutcome(this, p_, o);
}
