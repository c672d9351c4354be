// "文本数据导入": the data-interface import of a delimited salary export into
// the open task, and the way to the data-load file (frmDataLoad), which
// moves a whole month between installations.
#pragma once

#include "core/progress.h"
#include "core/prompt.h"
#include "core/session.h"
#include "exchange/dataload.h"

#include <QWidget>

#include <vector>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The lines an import set aside, one entry per line with its number and why.
QString skippedLinesText(const std::vector<gzgl::exchange::SkippedLine>& skipped);

class frmDataInterfaceIn : public QWidget {
    Q_OBJECT
public:
    frmDataInterfaceIn(gzgl::Session& s, gzgl::Prompt& p, gzgl::Progress* progress, QWidget* parent = nullptr);

private:
    void browse();
    void importFile();
    void openDataLoad();
    void showTask();

    gzgl::Session& s_;
    gzgl::Prompt& p_;
    gzgl::Progress* progress_;
    QLabel* lblTask;
    QLineEdit* txtFile;
    QPushButton *cmdBrowse, *cmdok, *cmdDataLoad, *cmdExit;
    QPlainTextEdit* txtSkipped;
};
