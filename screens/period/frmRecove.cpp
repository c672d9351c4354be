#include "screens/period/frmRecove.h"

#include "period/backup.h"
#include "screens/period/frmPath.h"
#include "screens/session/ScreenSupport.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

frmRecove::frmRecove(gzgl::Session& s, gzgl::Prompt& p, gzgl::Progress& progress, QWidget* parent)
    : QDialog(parent), s_(s), p_(p), progress_(progress) {
    setObjectName("frmRecove");
    setWindowTitle(QStringLiteral("数据恢复"));

    auto* notice = new QLabel(QString::fromUtf8(gzgl::period::kRestoreNotice), this);
    notice->setObjectName("lblNotice");
    notice->setWordWrap(true);
    // Wide enough for the notice to wrap into a few readable lines.
    notice->setMinimumWidth(notice->fontMetrics().horizontalAdvance(QString(24, QChar(0x6570))));

    auto buttons = okCancelButtons(this);
    cmdOk = buttons.ok;
    cmdCancel = buttons.cancel;
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(notice);
    layout->addSpacing(8);
    layout->addWidget(buttons.box);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(cmdOk, &QPushButton::clicked, this, &frmRecove::confirm);
}

void frmRecove::confirm() {
    frmPath path(s_, p_, progress_, gzgl::period::kPathRestore, this);
    path.exec();
    if (!path.result().loginAgain)
        return;
    loginAgain_ = true;
    accept();
}
