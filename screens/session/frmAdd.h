// The new-task screen: a salary task's name, start period, operator,
// password, rounding-off mode and employee code length.
#pragma once

#include "core/tasks.h"
#include "core/text.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QSpinBox;
class EnterKeys;

class frmAdd : public QDialog {
    Q_OBJECT
public:
    frmAdd(gzgl::Session& s, gzgl::Prompt& p, QWidget* parent = nullptr);
    bool created() const { return created_; }
    void reject() override;

private:
    void confirm();
    bool checkPasswords();
    gzgl::NewTaskFields fields() const;
    void showFields(const gzgl::NewTaskFields& f);

    gzgl::Session& s_;
    gzgl::Prompt& p_;
    QLineEdit *txtCorporation, *txtName, *txtYear, *txtMonth, *txtOperator, *txtKL1, *txtKL2;
    QSpinBox *udYear, *udMonth, *txtLong;
    QComboBox* cmbMode;
    bool created_ = false;
};
