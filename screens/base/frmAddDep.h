// 增加部门: adds one department after another. The roster rebuilds its tree
// on departmentsChanged, which follows every OK (the scheme may have been
// written even when nothing was added).
#pragma once

#include "core/prompt.h"
#include "core/session.h"

#include <QDialog>

class QComboBox;
class QLineEdit;

class frmAddDep : public QDialog {
    Q_OBJECT
public:
    frmAddDep(gzgl::Session& s, gzgl::Prompt& p, QWidget* parent = nullptr);

    // The OK button: adds what the boxes hold.
    void confirm();

signals:
    void departmentsChanged();

private:
    gzgl::Session& s_;
    gzgl::Prompt& p_;
    QComboBox* cmbType;
    QLineEdit* txtCode;
    QLineEdit* txtName;
};
