#include "screens/period/frmPath.h"

#include "screens/session/ScreenSupport.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// What the screen is about, above the folder box.
QString purpose(int mode) {
    switch (mode) {
    case gzgl::period::kPathFullBackup:
        return QStringLiteral("请选择全库备份文件存放的文件夹：");
    case gzgl::period::kPathRestore:
        return QStringLiteral("请选择备份数据所在的文件夹：");
    case gzgl::period::kPathMonthBackup:
        return QStringLiteral("请选择备份数据存放的文件夹：");
    case gzgl::period::kPathTaskExport:
        return QStringLiteral("请选择导出任务存放的文件夹：");
    default:
        return QStringLiteral("请选择文件夹：");
    }
}

} // namespace

frmPath::frmPath(gzgl::Session& s, gzgl::Prompt& p, gzgl::Progress& progress, int mode, QWidget* parent)
    : QDialog(parent), s_(s), p_(p), progress_(progress), mode_(mode) {
    setObjectName("frmPath");
    setWindowTitle(QStringLiteral("选择路径"));

    auto* caption = new QLabel(purpose(mode), this);
    Dir1 = namedEdit(this, "Dir1");
    Dir1->setText(QDir::toNativeSeparators(QDir::homePath()));
    Dir1->setMinimumWidth(Dir1->fontMetrics().horizontalAdvance(QString(40, '0')));
    cmdBrowse = namedButton(this, "cmdBrowse", QStringLiteral("浏览(&B)..."));

    auto* row = new QHBoxLayout;
    row->addWidget(Dir1, 1);
    row->addWidget(cmdBrowse);

    auto buttons = okCancelButtons(this);
    cmdOk = buttons.ok;
    cmdCancel = buttons.cancel;
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(caption);
    layout->addLayout(row);
    layout->addSpacing(8);
    layout->addWidget(buttons.box);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    auto* keys = new EnterKeys(this);
    keys->on(Dir1, [this] { cmdOk->click(); });
    connect(cmdBrowse, &QPushButton::clicked, this, &frmPath::browse);
    connect(cmdOk, &QPushButton::clicked, this, &frmPath::confirm);
}

void frmPath::setFolder(const QString& folder) {
    Dir1->setText(folder);
}

QString frmPath::folder() const {
    return QDir::fromNativeSeparators(Dir1->text().trimmed());
}

void frmPath::browse() {
    const QString chosen = QFileDialog::getExistingDirectory(this, windowTitle(), folder());
    if (!chosen.isEmpty())
        setFolder(QDir::toNativeSeparators(chosen));
}

void frmPath::confirm() {
    gzgl::period::PathRequest request;
    request.mode = mode_;
    request.folder = ss(folder());
    request.period = period_;
    {
        WaitCursor wait;
        result_ = gzgl::period::confirmPath(s_, p_, request, progress_);
    }
    applyOutcome(this, p_, result_.outcome);
    // A refusal leaves the screen open for another folder; a question
    // answered No (no message) ends it with nothing done.
    if (result_.outcome.ok)
        accept();
    else if (result_.outcome.message.empty())
        reject();
}
