// 部门分类定义: the department types in number order, with one empty row at
// the end; add, rename and delete go through the engine.
#pragma once

#include "core/prompt.h"
#include "core/session.h"

#include <QWidget>

class QTableWidget;
class frmDK1;
class frmDK2;

class frmDepKind : public QWidget {
    Q_OBJECT
public:
    frmDepKind(gzgl::Session& s, gzgl::Prompt& p, QWidget* parent = nullptr);

    void reload();
    // The add and rename dialogs, opened window-modal over this screen;
    // openModify answers nullptr (after its message) when the current row
    // has no number.
    frmDK1* openAdd();
    frmDK2* openModify();
    void deleteType();

private:
    std::string cell(int row, int column) const;
    std::string currentNo() const;

    gzgl::Session& s_;
    gzgl::Prompt& p_;
    QTableWidget* msfKind;
};
