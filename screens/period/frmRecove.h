// Restoring a month of the open task from its backup; a completed restore
// closes the task and the operator logs in again.
#pragma once

#include "core/progress.h"
#include "core/prompt.h"
#include "core/session.h"

#include <QDialog>

class QPushButton;

class frmRecove : public QDialog {
    Q_OBJECT
public:
    frmRecove(gzgl::Session& s, gzgl::Prompt& p, gzgl::Progress& progress, QWidget* parent = nullptr);

    bool loginAgain() const { return loginAgain_; }

private:
    void confirm();

    gzgl::Session& s_;
    gzgl::Prompt& p_;
    gzgl::Progress& progress_;
    bool loginAgain_ = false;
    QPushButton *cmdOk, *cmdCancel;
};
