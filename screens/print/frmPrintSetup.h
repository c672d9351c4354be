// 页面设置: the page setup of a print job's form, its print project. Paper
// and margins, rows per page and row height, fixed columns, zeros and
// thousands separators, payslip spacing, the heading and data fonts, which
// columns print with what width and alignment, and the header and footer
// lines. 确定 checks the setup and stores it through the engine, so every
// job of the form prints with it from then on.
#pragma once

#include "print/gridprint.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QSpinBox;
class QTableWidget;

class frmPrintSetup : public QDialog {
    Q_OBJECT
public:
    explicit frmPrintSetup(gzgl::print::clsGridPrint& job, QWidget* parent = nullptr);

    // The project as the controls hold it.
    gzgl::print::PrintProject fields() const;
    // Checks and stores the setup; closes the dialog when it was stored.
    void confirm();

private:
    void fill(const gzgl::print::PrintProject& p);
    QTableWidget* linesTable(const char* name);
    void appendLine(QTableWidget* t, const gzgl::print::PrintLine& l);
    void fillLines(QTableWidget* t, const std::vector<gzgl::print::PrintLine>& shown);
    std::vector<gzgl::print::PrintLine> readLines(const QTableWidget* t, const std::vector<gzgl::print::PrintLine>& stored,
                                                  const std::vector<gzgl::print::PrintLine>& shown) const;
    void addLine(QTableWidget* t);

    gzgl::print::clsGridPrint& job_;
    gzgl::print::PrintProject stored_;
    std::vector<gzgl::print::PrintLine> shownHeads_, shownFoots_;
    QComboBox* cmbPaper;
    QCheckBox* chkLandscape;
    QDoubleSpinBox *spnTop, *spnBottom, *spnLeft, *spnRight;
    QSpinBox* spnRows;
    QDoubleSpinBox* spnRowHeight;
    QSpinBox* spnFixCols;
    QCheckBox* chkZero;
    QCheckBox* chkThousand;
    QCheckBox* chkPageHead;
    QCheckBox* chkPageFoot;
    QSpinBox* spnForms;
    QDoubleSpinBox* spnFormDist;
    QDoubleSpinBox* spnSalaryHeight;
    QComboBox *cmbHeadFace, *cmbDataFace;
    QDoubleSpinBox *spnHeadSize, *spnDataSize;
    QCheckBox *chkHeadBold, *chkDataBold;
    QTableWidget* tblColumns;
    QTableWidget* tblHeads;
    QTableWidget* tblFoots;
};
