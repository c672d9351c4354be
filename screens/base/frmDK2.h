// Renames one department type; the number is shown and stays.
#pragma once

#include "core/prompt.h"
#include "core/session.h"

#include <QDialog>

class QLineEdit;

class frmDK2 : public QDialog {
    Q_OBJECT
public:
    frmDK2(gzgl::Session& s, gzgl::Prompt& p, const std::string& no, const std::string& name,
           QWidget* parent = nullptr);

    // The OK button: renames and closes, or shows the refusal.
    void confirm();

private:
    gzgl::Session& s_;
    gzgl::Prompt& p_;
    QLineEdit* txtNo;
    QLineEdit* txtName;
};
