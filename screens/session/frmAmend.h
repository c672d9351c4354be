// Amending the open task's name, operator, password, enterprise code and
// rounding-off mode.
#pragma once

#include "core/tasks.h"

#include <QDialog>

class QComboBox;
class QLineEdit;

class frmAmend : public QDialog {
    Q_OBJECT
public:
    frmAmend(gzgl::Session& s, gzgl::Prompt& p, QWidget* parent = nullptr);

private:
    void confirm();

    gzgl::Session& s_;
    gzgl::Prompt& p_;
    QLineEdit *txtName, *txtOperator, *txtCorporation, *txtKL1, *txtKL2;
    QComboBox* cmbMode;
};
