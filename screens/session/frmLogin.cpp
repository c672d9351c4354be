#include "screens/session/frmLogin.h"

#include "screens/session/ScreenSupport.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmLogin::frmLogin(gzgl::Session& s, gzgl::Prompt& p, QWidget* parent) : QDialog(parent), s_(s), p_(p) {
    setObjectName("frmLogin");
    setWindowTitle(QStringLiteral("用户登录 - ") + qs(s.curTaskName));
    txtUserName = new QComboBox(this);
    txtUserName->setObjectName("txtUserName");
    txtUserName->setEditable(true);
    txtPassword = new QLineEdit(this);
    txtPassword->setObjectName("txtPassword");
    txtPassword->setEchoMode(QLineEdit::Password);
    auto* cmdOk = new QPushButton(QStringLiteral("确定(&O)"), this);
    cmdOk->setObjectName("cmdOk");
    auto* cmdCancel = new QPushButton(QStringLiteral("取消(&C)"), this);
    cmdCancel->setObjectName("cmdCancel");

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("用户姓名："), txtUserName);
    form->addRow(QStringLiteral("用户口令："), txtPassword);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    resize(340, 140);

    const gzgl::StoredLogin stored = gzgl::loadLoginScreen(s_);
    txtUserName->addItem(qs(stored.name));
    txtUserName->setCurrentText(qs(stored.name));
    txtUserName->installEventFilter(this);
    txtPassword->installEventFilter(this);
    txtPassword->setFocus();

    connect(cmdOk, &QPushButton::clicked, this, &frmLogin::confirm);
    connect(cmdCancel, &QPushButton::clicked, this, &frmLogin::reject);
}

bool frmLogin::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* e = static_cast<QKeyEvent*>(event);
        const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
        if (watched == txtUserName && (enter || (e->key() == Qt::Key_Down && !(e->modifiers() & Qt::ShiftModifier)))) {
            txtPassword->setFocus();
            return true;
        }
        if (watched == txtPassword && enter) {
            confirm();
            return true;
        }
        if (watched == txtPassword && e->key() == Qt::Key_Up) {
            txtUserName->setFocus();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmLogin::confirm() {
    if (gzgl::confirmLogin(s_, p_, ss(txtUserName->currentText()), ss(txtPassword->text())) ==
        gzgl::LoginNext::Done) {
        loggedIn_ = true;
        accept();
        return;
    }
    txtPassword->setFocus();
    txtPassword->selectAll();
}

void frmLogin::reject() {
    gzgl::cancelLogin(s_);
    QDialog::reject();
}
