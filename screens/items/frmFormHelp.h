// 公式帮助: the rules of the formula language with worked examples.
#pragma once

#include <QDialog>

class frmFormHelp : public QDialog {
    Q_OBJECT
public:
    explicit frmFormHelp(QWidget* parent = nullptr);
    // The help text as shown.
    static QString text();
};
