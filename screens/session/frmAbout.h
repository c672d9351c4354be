// The About box, with a launcher for the system information.
#pragma once

#include "core/session.h"

#include <QWidget>

class frmAbout : public QWidget {
    Q_OBJECT
public:
    frmAbout(const gzgl::Session& s, QWidget* parent = nullptr);
};
