// 工资报表打印: the four standard reports of the task over one month or a
// range of months. The screen holds the report settings only; each preview
// or print builds the report afresh through the engine, so a refusal
// leaves every field as typed (except a reversed range, which is shown
// swapped). For the payslips the report can also be written as one PDF
// per employee into a folder.
#pragma once

#include "core/progress.h"
#include "core/prompt.h"
#include "core/session.h"
#include "reports/standard.h"

#include <QDialog>
#include <QString>

#include <functional>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

class frmReport : public QDialog {
    Q_OBJECT
public:
    // Refreshes the month's data and starts both months at the current
    // period with the department summary chosen. progress may be null.
    frmReport(gzgl::Session& s, gzgl::Prompt& p, gzgl::Progress* progress = nullptr,
              QWidget* parent = nullptr);

    // The settings as the fields hold them.
    gzgl::reports::ReportRequest request() const;
    // The report the last preview, print or export built (empty before).
    const gzgl::reports::BuiltReport& report() const { return built_; }

    // Replace the file dialogs (an empty answer cancels), for scripted use:
    // the PDF file printing falls back to without a printer, and the folder
    // the payslip files go to.
    void setPdfChooser(std::function<QString()> choose) { choosePdf_ = std::move(choose); }
    void setFolderChooser(std::function<QString()> choose) { chooseFolder_ = std::move(choose); }

    // The buttons' work, also for the tests: index 0 previews, 1 prints.
    void cmdpreview_Click(int index);
    void cmdExport_Click();

private:
    // Builds the report of the fields into built_; false when it was
    // refused (the message shown, the field focused) or failed.
    bool Search();
    void cmbType_Click();
    void step(QLineEdit* box, int delta);
    void focusNext(QWidget* from);

    gzgl::Session& s_;
    gzgl::Prompt& p_;
    gzgl::SilentProgress silent_;
    gzgl::Progress& progress_;
    gzgl::reports::BuiltReport built_;
    std::function<QString()> choosePdf_;
    std::function<QString()> chooseFolder_;
    // The fields in the order Enter walks through them.
    std::vector<QWidget*> order_;

    QComboBox* cmbType;
    QLabel* lblDep;
    QLineEdit* txtDep;
    QPushButton* cmdDep;
    QLabel* lblDepType;
    QLineEdit* txtDepType;
    QPushButton* cmdDepType;
    QLineEdit* txtYear;
    QLineEdit* txtMonth;
    QLineEdit* txtYear1;
    QLineEdit* txtMonth1;
    QLabel* lblGrade;
    QLineEdit* txtGrade;
    QWidget* UDGrade;
    QRadioButton* Opt0;
    QRadioButton* Opt1;
    QPushButton* cmdpreview0;
    QPushButton* cmdpreview1;
    QPushButton* cmdExport;
    QPushButton* cmdCancel;
};
