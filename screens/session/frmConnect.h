// Choosing again the accounting unit (set) of a linked task in the
// accounting folder it is linked to: the sets listed as name and id, the
// choice written as the task's set. A network catalog is read with the
// password its caller got from the user; it is kept only while the screen
// is open.
#pragma once

#include "core/prompt.h"
#include "core/session.h"

#include <QDialog>

#include <string>

class QListWidget;

class frmConnect : public QDialog {
    Q_OBJECT
public:
    frmConnect(gzgl::Session& s, gzgl::Prompt& p, QWidget* parent = nullptr, std::string password = {});

    // OK: the chosen entry becomes the task's set, or the refusal is shown.
    void confirm();

private:
    gzgl::Session& s_;
    gzgl::Prompt& p_;
    std::string password_;
    QListWidget* lstSet;
};
