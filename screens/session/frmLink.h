// Linking the task to the accounting system: no link, the single-user form
// (a data folder and one of its accounting sets) or the network form. In
// mode 4 it changes the open task's link and opens on the link it has. The
// network part names the product (catalog), the server, the login and the
// password; the password only reaches the server to read the sets and to
// check the choice, and goes when the screen closes.
#pragma once

#include "accounting/link.h"

#include <QDialog>

#include <vector>

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
    // 读取核算单位: the network catalog's sets, read with the typed password.
    void readNetworkSets();
    void showNetworkSets();
    gzgl::LinkFields fields() const;
    // Mode 4 opens on the task's present link.
    void showCurrentLink();
    void updateEnabled();
    void choiceChanged();

    gzgl::Session& s_;
    gzgl::Prompt& p_;
    int mode_;
    QRadioButton *optNone, *optSingle, *optNetwork;
    QLineEdit *txtPath, *txtServer, *txtLogin, *txtPassword;
    QComboBox *cmbProduct, *cmbSet;
    // The sets last read from the server, shown again when the network
    // choice is taken up again.
    std::vector<gzgl::accounting::AccountingSet> networkSets_;
    QWidget *singleBox, *networkBox;
};
