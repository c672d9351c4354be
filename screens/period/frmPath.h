// The folder screen shared by the backup, restore, task-export and full
// backup commands: the user picks a folder and OK runs the operation of the
// screen's mode there.
#pragma once

#include "core/progress.h"
#include "core/prompt.h"
#include "core/session.h"
#include "period/backup.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

class frmPath : public QDialog {
    Q_OBJECT
public:
    // mode is one of period::PathMode; period names the month a monthly
    // backup writes.
    frmPath(gzgl::Session& s, gzgl::Prompt& p, gzgl::Progress& progress, int mode, QWidget* parent = nullptr);

    void setPeriod(const std::string& period) { period_ = period; }
    // The folder the operation works in; tests set it instead of browsing.
    void setFolder(const QString& folder);
    QString folder() const;
    // What the last OK answered.
    const gzgl::period::PathResult& result() const { return result_; }

private:
    void browse();
    void confirm();

    gzgl::Session& s_;
    gzgl::Prompt& p_;
    gzgl::Progress& progress_;
    int mode_;
    std::string period_;
    gzgl::period::PathResult result_;
    QLineEdit* Dir1;
    QPushButton *cmdBrowse, *cmdOk, *cmdCancel;
};
