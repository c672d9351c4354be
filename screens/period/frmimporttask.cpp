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

    txtFile = namedEdit(this, "txtFile");
    txtFile->setMinimumWidth(txtFile->fontMetrics().horizontalAdvance(QString(40, '0')));
    cmdBrowse = namedButton(this, "cmdBrowse", QStringLiteral("浏览(&B)..."));
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("导入文件："), this));
    row->addWidget(txtFile, 1);
    row->addWidget(cmdBrowse);

    auto buttons = okCancelButtons(this);
    cmdOk = buttons.ok;
    cmdCancel = buttons.cancel;
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
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
    const QString chosen = QFileDialog::getOpenFileName(this, windowTitle(), QDir::homePath(),
                                                        fileDialogFilter(gzgl::period::kImportFilter));
    if (!chosen.isEmpty())
        setFile(QDir::toNativeSeparators(chosen));
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
