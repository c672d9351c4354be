// 增加员工: adds one employee after another. It opens with the next free code
// and the chosen department's next sort number, and proposes both again
// after each saved employee, keeping the department; Cancel closes.
#pragma once

#include "core/prompt.h"
#include "core/session.h"
#include "screens/base/EmployeeForm.h"

#include <QDialog>

class frmAddEmp : public QDialog {
    Q_OBJECT
public:
    frmAddEmp(gzgl::Session& s, gzgl::Prompt& p, QWidget* parent = nullptr);

signals:
    void employeeAdded(const QString& code);

private:
    void confirm();
    void propose();
    void proposeSortNo();

    gzgl::Session& s_;
    gzgl::Prompt& p_;
    EmployeeForm f_;
};
