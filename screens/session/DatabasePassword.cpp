#include "screens/session/DatabasePassword.h"

#include "screens/session/ScreenSupport.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmDbPassword::frmDbPassword(QWidget* parent) : QDialog(parent) {
    setObjectName("frmDbPassword");
    setWindowTitle(QStringLiteral("财务数据库口令"));
    auto* caption = new QLabel(QStringLiteral("请输入财务数据库服务器的登录口令："), this);
    txtPassword = namedEdit(this, "txtPassword");
    txtPassword->setEchoMode(QLineEdit::Password);
    auto [box, cmdOk, cmdCancel] = okCancelButtons(this);
    connect(cmdOk, &QPushButton::clicked, this, &QDialog::accept);
    // Enter in the field answers the question.
    connect(txtPassword, &QLineEdit::returnPressed, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(caption);
    layout->addWidget(txtPassword);
    layout->addWidget(box);
    setMinimumWidth(320);
}

std::string frmDbPassword::password() const {
    return ss(txtPassword->text());
}

DbPasswordAsker& dbPasswordAsker() {
    static DbPasswordAsker asker;
    return asker;
}

std::optional<std::string> askDbPassword(QWidget* parent) {
    if (const DbPasswordAsker& replaced = dbPasswordAsker())
        return replaced(parent);
    frmDbPassword dialog(parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.password();
}
