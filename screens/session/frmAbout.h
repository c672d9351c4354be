// The About box ("关于工资系统"), with a launcher for the system
// information: what the machine and the program see.
#pragma once

#include "core/session.h"

#include <QDialog>
#include <QWidget>

class frmAbout : public QWidget {
    Q_OBJECT
public:
    frmAbout(gzgl::Session& s, QWidget* parent = nullptr);
};

// The system information: the operating system, the screens, the fonts
// that can show Chinese, the printers and the Qt platform in use.
class frmSysInfo : public QDialog {
    Q_OBJECT
public:
    explicit frmSysInfo(QWidget* parent = nullptr);
    // The text shown, also for a support request.
    static QString report();
};
