// The full backup: the system database, every task and every bank template
// of the data home into one archive the user names.
#pragma once

#include "core/progress.h"
#include "core/prompt.h"
#include "core/session.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

class frmBackAll : public QDialog {
    Q_OBJECT
public:
    frmBackAll(gzgl::Session& s, gzgl::Prompt& p, gzgl::Progress& progress, QWidget* parent = nullptr);

    // The archive to write; tests set it instead of browsing.
    void setFile(const QString& file);

private:
    void browse();
    void confirm();

    gzgl::Session& s_;
    gzgl::Prompt& p_;
    gzgl::Progress& progress_;
    QLineEdit* txtFile;
    QPushButton *cmdBrowse, *cmdOk, *cmdCancel;
};
