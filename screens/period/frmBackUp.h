// The monthly backup: the month to back up, then the folder screen; a
// completed backup closes the task and the operator logs in again.
#pragma once

#include "core/progress.h"
#include "core/prompt.h"
#include "core/session.h"

#include <QDialog>

#include <functional>

class QLineEdit;
class QPushButton;

class frmBackUp : public QDialog {
    Q_OBJECT
public:
    frmBackUp(gzgl::Session& s, gzgl::Prompt& p, gzgl::Progress& progress, QWidget* parent = nullptr);

    // True once the backup closed the task.
    bool loginAgain() const { return loginAgain_; }

private:
    void step(int by);
    void confirm();

    gzgl::Session& s_;
    gzgl::Prompt& p_;
    gzgl::Progress& progress_;
    bool loginAgain_ = false;
    QLineEdit *txtYear, *txtMonth;
    QPushButton *cmdOk, *cmdCancel;
};

// The year and month one month on (by 1) or back (by -1), the month
// written with two digits; unreadable text is left as it is.
struct YearMonthText {
    QString year, month;
};
YearMonthText stepMonth(const QString& year, const QString& month, int by);
