// Closing the open month into the next one.
#pragma once

#include "core/progress.h"
#include "core/prompt.h"
#include "core/session.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class frmBalance : public QDialog {
    Q_OBJECT
public:
    // Refreshes the open month's data rows and proposes the next month.
    // progress may be null (nothing shown while closing).
    frmBalance(gzgl::Session& s, gzgl::Prompt& p, gzgl::Progress* progress = nullptr,
               QWidget* parent = nullptr);

    // False when the opening refresh failed (its message has been shown).
    bool opened() const { return opened_; }
    bool running() const { return running_; }

signals:
    // The session moved to another period: the main window shows it at once.
    void periodChanged();

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void start();
    void setRunning(bool running);

    gzgl::Session& s_;
    gzgl::Prompt& p_;
    gzgl::Progress* progress_;
    QLabel* lblCurrent;
    QLineEdit *txtYear, *txtMonth;
    QPushButton *cmdDo0, *cmdDo1, *cmdClose;
    bool opened_ = false;
    bool running_ = false;
    bool stopPressed_ = false;
};
