// System settings of the open task.
#pragma once

#include "core/prompt.h"
#include "core/session.h"

#include <QDialog>

class QCheckBox;

class frmSysSet : public QDialog {
    Q_OBJECT
public:
    frmSysSet(gzgl::Session& s, gzgl::Prompt& p, QWidget* parent = nullptr);

private:
    void confirm();

    gzgl::Session& s_;
    gzgl::Prompt& p_;
    QCheckBox* Check1;
};
