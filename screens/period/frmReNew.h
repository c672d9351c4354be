// Going back to a closed month: every later month's data is dropped.
#pragma once

#include "core/prompt.h"
#include "core/session.h"

#include <QDialog>

class QComboBox;
class QPushButton;

class frmReNew : public QDialog {
    Q_OBJECT
public:
    // Lists the closed months earlier than the open one.
    frmReNew(gzgl::Session& s, gzgl::Prompt& p, QWidget* parent = nullptr);

signals:
    // The session moved to another period: the main window shows it at once.
    void periodChanged();

private:
    void confirm();

    gzgl::Session& s_;
    gzgl::Prompt& p_;
    QComboBox* cmbTime;
    QPushButton *cmdOk, *cmdCancel;
};
