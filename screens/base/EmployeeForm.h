// The fields that the add and change dialogs of an employee share, in entry
// order, with their labels in two columns; how they read into and show an
// EmployeeFields, and the pickers and the date check both dialogs wire.
#pragma once

#include "base/employees.h"
#include "core/prompt.h"
#include "core/session.h"

#include <functional>

class EnterKeys;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QWidget;

struct EmployeeForm {
    QLineEdit* txtEmpNo;
    QComboBox* cmbDep;
    QLineEdit* txtEmpName;
    QComboBox* cmbSex;
    QComboBox* cmbNation;
    QLineEdit* txtCID;
    QLineEdit* txtAccNo;
    QLineEdit* txtOldNo;
    QLineEdit* txtHouseNo;
    QLineEdit* txtOtherNo1;
    QLineEdit* txtOtherNo2;
    QSpinBox* txtSortNo; // its lowest value shows blank: an unnumbered employee
    QLineEdit* txtCharacter;
    QComboBox* cmbEmpType;
    QLineEdit* txtRq1;
    QPushButton* cmdRq1;
    QLabel* lblNotCalc;
    QLineEdit* txtNotCalc;
    QPushButton* cmdNotCalc;
    QWidget* form; // the laid-out fields

    // Builds the fields inside screen. editable: the department, sex and
    // type boxes take typed text too (frmEmp). pickerName names the
    // not-calculated list's button.
    static EmployeeForm build(QWidget* screen, bool editable, const char* pickerName);
    // The department, type, sex and nationality lists.
    void fillLists(gzgl::Session& s);
    gzgl::base::EmployeeFields read() const;
    // Everything but the code.
    void show(const gzgl::base::EmployeeFields& f);
    void setSortNo(const std::string& sortNo);
    // The person's own fields emptied; code, department, type and sort
    // number stay.
    void clearPersonal();
    // The not-calculated label, box and button, shown only with BJSGZX on.
    void showNotCalc(bool on);
    // Enter moves on to the next visible field; after the last, runs last.
    void chainEnter(EnterKeys* keys, std::function<void()> last) const;
    // cmdRq1's calendar, the check on leaving txtRq1, the item list of the
    // not-calculated button.
    void wirePickers(QWidget* screen, gzgl::Session& s, gzgl::Prompt& p) const;
};

// Runs action after w has lost the focus to another field of its window
// (not to a popup or another window), once the focus has settled.
void onLeave(QWidget* w, std::function<void()> action);
