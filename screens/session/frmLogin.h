// Login to the chosen task with its operator's name and password.
#pragma once

#include "core/login.h"

#include <QDialog>

class QComboBox;
class QLineEdit;

class frmLogin : public QDialog {
    Q_OBJECT
public:
    frmLogin(gzgl::Session& s, gzgl::Prompt& p, QWidget* parent = nullptr);
    bool loggedIn() const { return loggedIn_; }
    // Cancel, Escape and closing the window leave the task chosen but locked.
    void reject() override;

private:
    void confirm();
    bool eventFilter(QObject* watched, QEvent* event) override;

    gzgl::Session& s_;
    gzgl::Prompt& p_;
    QComboBox* txtUserName;
    QLineEdit* txtPassword;
    bool loggedIn_ = false;
};
