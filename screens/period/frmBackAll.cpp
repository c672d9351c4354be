#include "screens/period/frmBackAll.h"

#include "period/backup.h"
#include "screens/period/frmimporttask.h"
#include "screens/session/ScreenSupport.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmBackAll::frmBackAll(gzgl::Session& s, gzgl::Prompt& p, gzgl::Progress& progress, QWidget* parent)
    : QDialog(parent), s_(s), p_(p), progress_(progress) {
    setObjectName("frmBackAll");
    setWindowTitle(QStringLiteral("全库备份"));

    auto* notice = new QLabel(QString::fromUtf8(gzgl::period::kBackAllNotice), this);
    notice->setObjectName("lblNotice");
    notice->setWordWrap(true);
    notice->setMinimumWidth(notice->fontMetrics().horizontalAdvance(QString(24, QChar(0x6570))));

    const FileBox file = fileBox(this, "txtFile", "cmdBrowse", QStringLiteral("备份文件："), 36);
    txtFile = file.edit;
    cmdBrowse = file.button;
    // Today's archive in the home folder unless the user names another.
    txtFile->setText(QDir::toNativeSeparators(
        QDir::homePath() + "/" + qs(gzgl::period::fullBackupFileName(gzgl::period::todayText()))));

    auto buttons = okCancelButtons(this);
    cmdOk = buttons.ok;
    cmdCancel = buttons.cancel;
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(notice);
    layout->addSpacing(8);
    layout->addLayout(file.row);
    layout->addSpacing(8);
    layout->addWidget(buttons.box);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(cmdBrowse, &QPushButton::clicked, this, &frmBackAll::browse);
    connect(cmdOk, &QPushButton::clicked, this, &frmBackAll::confirm);
}

void frmBackAll::setFile(const QString& file) {
    txtFile->setText(file);
}

void frmBackAll::browse() {
    const QString chosen = QFileDialog::getSaveFileName(this, windowTitle(), txtFile->text(),
                                                        fileDialogFilter(gzgl::period::kImportFilter));
    if (!chosen.isEmpty())
        setFile(QDir::toNativeSeparators(chosen));
}

void frmBackAll::confirm() {
    const QString file = QDir::fromNativeSeparators(txtFile->text().trimmed());
    if (file.isEmpty()) {
        applyOutcome(
            this, p_,
            gzgl::Outcome::refuse("没有选择文件！", s_.productShortName, gzgl::Icon::Exclamation, "txtFile"));
        return;
    }
    gzgl::period::PathResult r;
    {
        WaitCursor wait;
        r = gzgl::period::backupAll(s_, ss(file), progress_);
    }
    applyOutcome(this, p_, r.outcome);
    if (r.outcome.ok)
        accept();
}
