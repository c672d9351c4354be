#include "screens/session/frmOpen.h"

#include "screens/session/ScreenSupport.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

frmOpen::frmOpen(gzgl::Session& s, gzgl::Prompt& p, QWidget* parent) : QDialog(parent), s_(s), p_(p) {
    setObjectName("frmOpen");
    setWindowTitle(QStringLiteral("选择工资任务"));
    lstGZT = new QListWidget(this);
    lstGZT->setObjectName("lstGZT");
    cmdOk = new QPushButton(QStringLiteral("确定(&O)"), this);
    cmdOk->setObjectName("cmdOk");
    auto* cmdCancel = new QPushButton(QStringLiteral("取消(&C)"), this);
    cmdCancel->setObjectName("cmdCancel");

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("请选择工资任务："), this));
    layout->addWidget(lstGZT);
    layout->addLayout(buttons);
    resize(420, 300);

    for (const std::string& entry : gzgl::taskChoiceEntries(s_))
        lstGZT->addItem(qs(entry));
    if (lstGZT->count() > 0)
        lstGZT->setCurrentRow(0);
    cmdOk->setEnabled(lstGZT->count() > 0);
    lstGZT->installEventFilter(this);

    connect(lstGZT, &QListWidget::itemClicked, this, [this] { cmdOk->setEnabled(true); });
    connect(lstGZT, &QListWidget::itemDoubleClicked, this, &frmOpen::confirm);
    connect(cmdOk, &QPushButton::clicked, this, &frmOpen::confirm);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool frmOpen::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lstGZT && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            cmdOk->setFocus();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmOpen::confirm() {
    if (!lstGZT->currentItem())
        return;
    next_ = gzgl::confirmTaskChoice(s_, p_, ss(lstGZT->currentItem()->text()));
    accept();
}
