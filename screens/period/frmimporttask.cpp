#include "screens/period/frmimporttask.h"

#include "period/backup.h"
#include "screens/session/ScreenSupport.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

QString fileDialogFilter(const char* pair) {
    return QString::fromUtf8(pair).section('|', 0, 0);
}

frmimporttask::frmimporttask(gzgl::Session& s, gzgl::Prompt& p, gzgl::Progress& progress, QWidget* parent)
    : QDialog(parent), s_(s), p_(p), progress_(progress) {
    setObjectName("frmimporttask");
    setWindowTitle(QStringLiteral("数据导入"));

    const FileBox file = fileBox(this, "txtFile", "cmdBrowse", QStringLiteral("导入文件："), 40);
    txtFile = file.edit;
    cmdBrowse = file.button;

    auto buttons = okCancelButtons(this);
    cmdOk = buttons.ok;
    cmdCancel = buttons.cancel;
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(file.row);
    layout->addSpacing(8);
    layout->addWidget(buttons.box);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    auto* keys = new EnterKeys(this);
    keys->on(txtFile, [this] { cmdOk->click(); });
    connect(cmdBrowse, &QPushButton::clicked, this, &frmimporttask::browse);
    connect(cmdOk, &QPushButton::clicked, this, &frmimporttask::confirm);
}

void frmimporttask::setFile(const QString& file) {
    txtFile->setText(file);
}

void frmimporttask::browse() {
    browseForFile(this, txtFile, windowTitle(), fileDialogFilter(gzgl::period::kImportFilter));
}

void frmimporttask::confirm() {
    gzgl::period::ImportResult r;
    {
        WaitCursor wait;
        r = gzgl::period::importTask(s_, ss(QDir::fromNativeSeparators(txtFile->text().trimmed())),
                                     progress_);
    }
    applyOutcome(this, p_, r.outcome);
    if (!r.outcome.ok)
        return;
    taskID_ = r.taskID;
    accept();
}
