// 部门人员管理显示设置: which optional columns the roster grid shows. Each
// group is "全部" (every column) or "自定义" with a check box per column;
// OK writes the choice to the session's roster columns.
#pragma once

#include "core/session.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QRadioButton;

class frmSet : public QDialog {
    Q_OBJECT
public:
    explicit frmSet(gzgl::Session& s, QWidget* parent = nullptr);

    // The OK button.
    void confirm();

private:
    void followModes();

    gzgl::Session& s_;
    QRadioButton* optDepAll;
    QRadioButton* optDepCustom;
    QRadioButton* optEmpAll;
    QRadioButton* optEmpCustom;
    std::array<QCheckBox*, 5> chkDep{};
    std::array<QCheckBox*, 7> chkEmp{};
};
