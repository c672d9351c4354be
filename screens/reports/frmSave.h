// The delimited export of the query result: the target folder (Dir1, with a
// browse button where a drive and folder list would be), the file name
// (txtName) and the separator (Cmbfg). 确定 writes the file; the engine asks
// before overwriting and says when it is done.
#pragma once

#include "core/progress.h"
#include "core/prompt.h"
#include "core/session.h"
#include "reports/query.h"

#include <QDialog>

#include <functional>
#include <string>

class QComboBox;
class QLineEdit;
class QPushButton;

class frmSave : public QDialog {
    Q_OBJECT
public:
    // result must outlive the dialog. progress may be null.
    frmSave(gzgl::Session& s, gzgl::Prompt& p, gzgl::Progress* progress,
            const gzgl::reports::QueryResult& result, QWidget* parent = nullptr);

    // The separator Cmbfg stands for: "TAB" (or "\t" typed) is a tab.
    std::string separator() const;
    // The file written by the last successful 确定.
    const std::string& written() const { return written_; }

    // The buttons' work, also for the tests.
    void cmdOk_Click();
    void cmdBrowse_Click();

private:
    gzgl::Session& s_;
    gzgl::Prompt& p_;
    gzgl::Progress* progress_;
    const gzgl::reports::QueryResult& result_;
    std::string written_;

    QLineEdit* Dir1;
    QPushButton* cmdBrowse;
    QLineEdit* txtName;
    QComboBox* Cmbfg;
    QPushButton* cmdOk;
    QPushButton* cmdCancel;
};
