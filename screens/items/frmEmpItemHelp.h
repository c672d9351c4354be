// Shows the items of a comma-separated list of item codes, code and name.
#pragma once

#include "core/session.h"

#include <QDialog>

class frmEmpItemHelp : public QDialog {
    Q_OBJECT
public:
    frmEmpItemHelp(gzgl::Session& s, const QString& codes, QWidget* parent = nullptr);
};
