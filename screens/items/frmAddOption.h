// 增加工资项目: adds one item after another; the maintenance screen reloads
// its list on itemAdded.
#pragma once

#include "items/items.h"
#include "screens/items/ItemForm.h"

#include <QDialog>

class QListWidget;
class QPushButton;

class frmAddOption : public QDialog {
    Q_OBJECT
public:
    frmAddOption(gzgl::Session& s, gzgl::Prompt& p, QWidget* parent = nullptr);

signals:
    void itemAdded(const QString& code);

private:
    void confirm();
    void reset();
    void nameEntered();
    void pickAccount(const QString& name);

    gzgl::Session& s_;
    gzgl::Prompt& p_;
    ItemForm f_;
    QPushButton* CmImp;
    QListWidget* LDa;
};
