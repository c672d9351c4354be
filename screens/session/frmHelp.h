// "在线帮助": the user guide shipped with the program, shown in the system
// browser or, where none is set, in this window.
#pragma once

#include <QWidget>

class QTextBrowser;

// The guide's first page: $GZGL_GUIDE, else the installed copy beside the
// program (../share/doc/gzgl/guide), else the source tree's docs/guide.
// Empty when none exists.
QString userGuidePath();

class frmHelp : public QWidget {
    Q_OBJECT
public:
    explicit frmHelp(const QString& index, QWidget* parent = nullptr);

private:
    QTextBrowser* browser_;
};
