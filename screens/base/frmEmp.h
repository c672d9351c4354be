// 员工基本信息: changes one employee. Typing another code and leaving the
// code box loads that employee; the modify button saves every field but the
// code and closes.
#pragma once

#include "core/prompt.h"
#include "core/session.h"
#include "screens/base/EmployeeForm.h"

#include <QDialog>

#include <string>

class frmEmp : public QDialog {
    Q_OBJECT
public:
    frmEmp(gzgl::Session& s, gzgl::Prompt& p, const std::string& empNo, QWidget* parent = nullptr);

    bool saved() const { return saved_; }
    // The code of the saved employee.
    std::string savedCode() const { return savedCode_; }

private:
    // Loads the employee of the code box unless it is already shown.
    void codeLeft();
    bool load(const std::string& code);
    void modify();

    gzgl::Session& s_;
    gzgl::Prompt& p_;
    EmployeeForm f_;
    std::string loaded_; // the code whose fields are shown
    bool saved_ = false;
    std::string savedCode_;
};
