// The account picker of the transfer rules: the linked set's chart of its
// current accounting period as a tree under "科目列表", each account below
// its parent. Only a lowest-level account can be handed back, as the
// vouchers take nothing else.
#pragma once

#include "accounting/store.h"

#include <QDialog>

#include <string>

class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

class frmSubjectHelp : public QDialog {
    Q_OBJECT
public:
    // Reads the set's current period and its chart; throws what the store
    // throws when the set cannot be read.
    explicit frmSubjectHelp(gzgl::accounting::AccountingStore& store, QWidget* parent = nullptr);

    // The chosen account's code; empty when the dialog was closed.
    const std::string& code() const { return code_; }
    QTreeWidget* tree() const { return trvSubject; }

    // Hands back this node when it is a lowest-level account; any other
    // node is only opened or closed.
    void pick(QTreeWidgetItem* item);

private:
    static bool isLeaf(const QTreeWidgetItem* item);

    QTreeWidget* trvSubject;
    QPushButton* cmdOk;
    std::string code_;
};
