// 工资成批调整: one input item set, scaled or computed by a formula for a
// group of employees chosen by department type, department, employee type,
// number and name, narrowed by conditions on item values.
#pragma once

#include "core/progress.h"
#include "core/prompt.h"
#include "core/session.h"
#include "monthly/batch.h"

#include <QDialog>

#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

class frmGroup : public QDialog {
    Q_OBJECT
public:
    // Runs the month's opening refresh and fills the lists. progress may be
    // null (no status shown while a run works).
    frmGroup(gzgl::Session& s, gzgl::Prompt& p, gzgl::Progress* progress = nullptr,
             QWidget* parent = nullptr);
    frmGroup(gzgl::Session& s, gzgl::Prompt& p, QWidget* parent) : frmGroup(s, p, nullptr, parent) {}

    const std::vector<gzgl::monthly::BatchCondition>& conditions() const { return conditions_; }

    // The buttons' work, also for the tests.
    void cmdAdd_Click();
    void cmdClear_Click();
    void cmdOk1_Click();

private:
    void fillLists();
    void showWay(int way);
    void showConditions();
    gzgl::monthly::BatchRequest request() const;

    gzgl::Session& s_;
    gzgl::Prompt& p_;
    gzgl::Progress* progress_;
    std::vector<gzgl::monthly::BatchCondition> conditions_;

    QComboBox* cmbItem;
    QComboBox* cmbWay;
    QLabel* lblFormula;
    QLineEdit* txtFormula;
    QComboBox* cmbType;
    QLineEdit* txtDep;
    QPushButton* cmdDep;
    QLineEdit* txtType;
    QPushButton* cmdType;
    QLineEdit* txtCode;
    QLineEdit* txtName;
    QComboBox* cmbQueryItem;
    QComboBox* cmbSym1;
    QLineEdit* txtValue;
    QComboBox* cmbJoin;
    QPushButton* cmdAdd;
    QPushButton* cmdClear;
    QTableWidget* flgQuery;
    QPushButton* cmdOk1;
    QPushButton* cmdClose;
};
