// Linking the task to the accounting system: no link, the single-user form
// (a data folder and one of its accounting sets) or the network form. In
// mode 4 it changes the open task's link and opens on the link it has.
#pragma once

#include "accounting/link.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QRadioButton;

class frmLink : public QDialog {
    Q_OBJECT
public:
    frmLink(gzgl::Session& s, gzgl::Prompt& p, int mode, QWidget* parent = nullptr);

private:
    void confirm();
    void reloadSets();
    // Mode 4 opens on the task's present link.
    void showCurrentLink();
    void updateEnabled();

    gzgl::Session& s_;
    gzgl::Prompt& p_;
    int mode_;
    QRadioButton *optNone, *optSingle, *optNetwork;
    QLineEdit *txtPath, *txtServer, *txtLogin, *txtPassword;
    QComboBox* cmbSet;
    QWidget *singleBox, *networkBox;
};
