// 修改工资项目: the fields of one item; the code is never editable and the
// engine's locks decide which other fields are.
#pragma once

#include "items/items.h"
#include "screens/items/ItemForm.h"

#include <QDialog>

class QLineEdit;

class frmAlterOption : public QDialog {
    Q_OBJECT
public:
    frmAlterOption(gzgl::Session& s, gzgl::Prompt& p, const gzgl::items::Item& item, QWidget* parent = nullptr);

private:
    void confirm();

    gzgl::Session& s_;
    gzgl::Prompt& p_;
    gzgl::items::Item item_;
    ItemForm f_;
    QLineEdit* txtCode;
};
