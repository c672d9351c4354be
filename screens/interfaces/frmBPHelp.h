// The item picker of the bank template: the fixed fields and every salary
// item of the task; OK hands back one template row per chosen entry.
#pragma once

#include "core/session.h"
#include "exchange/bank.h"

#include <QDialog>

#include <vector>

class QListWidget;

class frmBPHelp : public QDialog {
    Q_OBJECT
public:
    frmBPHelp(gzgl::Session& s, QWidget* parent = nullptr);

    // The rows for the entries chosen when OK was pressed, in list order.
    const std::vector<gzgl::exchange::BankField>& picked() const { return picked_; }
    QListWidget* list() const { return lstItem; }

private:
    void accept() override;

    std::vector<gzgl::exchange::PickerEntry> entries_;
    std::vector<gzgl::exchange::BankField> picked_;
    QListWidget* lstItem;
};
