// 工资综合查询条件设置: the conditions of the salary query — a month or a
// range of months, departments, department type, employee type, code and
// name, and a list of conditions on number items. 开始 checks the months
// and runs the query; the result screen shows what it found.
#pragma once

#include "core/progress.h"
#include "core/prompt.h"
#include "core/session.h"
#include "reports/query.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;
class QTableWidget;

class frmQuerySet : public QDialog {
    Q_OBJECT
public:
    // Runs the month's opening refresh and fills the lists. The boxes start
    // on the current period, or on previous when the query is asked again.
    // progress may be null (no status shown while the query runs).
    frmQuerySet(gzgl::Session& s, gzgl::Prompt& p, gzgl::Progress* progress = nullptr,
                QWidget* parent = nullptr, const gzgl::reports::QueryConditions* previous = nullptr);

    // What the dialog collects, as its boxes hold it now.
    gzgl::reports::QueryConditions request() const;
    // The result of the last successful start.
    const gzgl::reports::QueryResult& queryResult() const { return result_; }

    // The buttons' work, also for the tests.
    void cmdAdd_Click();
    void cmdClear_Click();
    void cmdHelp_Click();
    void cmdBegin_Click();

private:
    void fillLists();
    void showRequest(const gzgl::reports::QueryConditions& q);
    void showConditions();

    gzgl::Session& s_;
    gzgl::Prompt& p_;
    gzgl::Progress* progress_;
    std::vector<gzgl::reports::QueryCondition> conditions_;
    gzgl::reports::QueryResult result_;

    QLineEdit* txtYear;
    QLineEdit* txtMonth;
    QLineEdit* txtYear1;
    QLineEdit* txtMonth1;
    QLineEdit* txtDep;
    QPushButton* cmdDep;
    QComboBox* cmbDepType;
    QPushButton* cmdHelp;
    QLineEdit* txtEmpType;
    QPushButton* cmdEmpType;
    QLineEdit* txtCode;
    QLineEdit* txtName;
    QComboBox* cmbType;
    QComboBox* cmbSym;
    QLineEdit* txtNum1;
    QComboBox* cmbAndOr;
    QPushButton* cmdAdd;
    QPushButton* cmdClear;
    QTableWidget* flgQuery;
    QPushButton* cmdBegin;
    QPushButton* cmdCancel;
};
