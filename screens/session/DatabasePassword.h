// The question for the accounting database's password when a task linked
// to the network form connects: a small dialog, answered in tests by
// replacing the asker.
#pragma once

#include <QDialog>

#include <functional>
#include <optional>
#include <string>

class QLineEdit;

// 财务数据库口令: one masked field, OK and Cancel.
class frmDbPassword : public QDialog {
    Q_OBJECT
public:
    explicit frmDbPassword(QWidget* parent = nullptr);
    std::string password() const;

private:
    QLineEdit* txtPassword;
};

// Asks for the password over parent; nullopt when cancelled.
using DbPasswordAsker = std::function<std::optional<std::string>(QWidget* parent)>;

// The asker the screens use: frmDbPassword unless replaced (tests answer
// here). Setting an empty function restores the dialog.
DbPasswordAsker& dbPasswordAsker();
std::optional<std::string> askDbPassword(QWidget* parent);
