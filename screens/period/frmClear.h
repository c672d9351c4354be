// Clearing an old month's data to give disk space back.
#pragma once

#include "core/prompt.h"
#include "core/session.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

class frmClear : public QDialog {
    Q_OBJECT
public:
    // Offers the task's earliest recorded month.
    frmClear(gzgl::Session& s, gzgl::Prompt& p, QWidget* parent = nullptr);

private:
    void fill();
    void confirm();

    gzgl::Session& s_;
    gzgl::Prompt& p_;
    QLineEdit *txtYear, *txtMonth;
    QPushButton *cmdOk, *cmdCancel;
};
