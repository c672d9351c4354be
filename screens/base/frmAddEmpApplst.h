// 工资项目列表: the items that have a formula, as code + " " + name. A
// double click or Enter adds the entry's code to the caller's list of items
// not calculated, unless the list holds it already; the list stays open for
// further choices.
#pragma once

#include "core/session.h"

#include <QDialog>

class QLineEdit;
class QListWidget;

class frmAddEmpApplst : public QDialog {
    Q_OBJECT
public:
    frmAddEmpApplst(gzgl::Session& s, QLineEdit* target, QWidget* parent = nullptr);

    // Adds the code of the entry in that row to the target box.
    void pick(int row);

private:
    QListWidget* lstApp;
    QLineEdit* target_;
};
