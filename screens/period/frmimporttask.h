// Adding a task from a package written by the task export.
#pragma once

#include "core/progress.h"
#include "core/prompt.h"
#include "core/session.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

class frmimporttask : public QDialog {
    Q_OBJECT
public:
    frmimporttask(gzgl::Session& s, gzgl::Prompt& p, gzgl::Progress& progress, QWidget* parent = nullptr);

    // The package to read; tests set it instead of browsing.
    void setFile(const QString& file);
    // The new task's id once the import is done.
    const std::string& taskID() const { return taskID_; }

private:
    void browse();
    void confirm();

    gzgl::Session& s_;
    gzgl::Prompt& p_;
    gzgl::Progress& progress_;
    std::string taskID_;
    QLineEdit* txtFile;
    QPushButton *cmdBrowse, *cmdOk, *cmdCancel;
};

// The file dialog filter of a "name(*.ext)|*.ext" pair: its first half.
QString fileDialogFilter(const char* pair);
