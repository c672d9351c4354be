// Changing the open task's operator password.
#pragma once

#include "core/password.h"

#include <QDialog>

class QLineEdit;

class frmChangeKL : public QDialog {
    Q_OBJECT
public:
    frmChangeKL(gzgl::Session& s, gzgl::Prompt& p, QWidget* parent = nullptr);

private:
    void confirm();

    gzgl::Session& s_;
    gzgl::Prompt& p_;
    QLineEdit *txtKL1, *txtKL2, *txtKL3;
};
