// 排序设置: whether the roster lists a department's employees by code or by
// their sort number; the choice is kept in the user's settings.
#pragma once

#include <QDialog>

class QRadioButton;

class frmSort : public QDialog {
    Q_OBJECT
public:
    explicit frmSort(QWidget* parent = nullptr);

private:
    QRadioButton* optEmpNo;
    QRadioButton* optSortNo;
};
