// Removing departments from the bank template's list: the entries of the
// bank screen's list; 删除 takes the chosen one out of both lists.
#pragma once

#include <QDialog>

class QListWidget;
class QPushButton;

class frmBankHelp : public QDialog {
    Q_OBJECT
public:
    // Works on the bank screen's own list, which must outlive the dialog.
    explicit frmBankHelp(QListWidget* departments, QWidget* parent = nullptr);

    // Removes the chosen entry; nothing happens without a choice.
    void cmdWipe_Click();

private:
    QListWidget* target_;
    QListWidget* lstDep;
    QPushButton* cmdWipe;
    QPushButton* cmdCandel;
};
