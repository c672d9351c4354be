// "数据加载": writing the open month as a data-load file, and loading such a
// file into the task it names (created when the data home lacks it). The
// layout of the file is shown as a help text.
#pragma once

#include "core/progress.h"
#include "core/prompt.h"
#include "core/session.h"

#include <QDialog>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class frmDataLoad : public QDialog {
    Q_OBJECT
public:
    frmDataLoad(gzgl::Session& s, gzgl::Prompt& p, gzgl::Progress* progress, QWidget* parent = nullptr);

    // The task the last load went into; empty before one succeeded.
    const std::string& loadedTaskID() const { return loadedTask_; }

private:
    void browse();
    void load();
    void exportMonth();

    gzgl::Session& s_;
    gzgl::Prompt& p_;
    gzgl::Progress* progress_;
    std::string loadedTask_;
    QLineEdit *txtFile, *txtPassword;
    QPushButton *cmdPath, *cmdLoad, *cmdExport, *cmdExit;
    QPlainTextEdit *txtHelp, *txtSkipped;
};
