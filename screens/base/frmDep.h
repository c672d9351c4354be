// 部门基本信息: name and type of one department. The code is the key and is
// not changed here; the subjects come with the type and are only shown.
// After a save the roster refreshes the pane the department was picked
// from (modified carries what was stored) and the window closes.
#pragma once

#include "core/prompt.h"
#include "core/session.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

class frmDep : public QDialog {
    Q_OBJECT
public:
    frmDep(gzgl::Session& s, gzgl::Prompt& p, const std::string& code, QWidget* parent = nullptr);

    // Enter in the type field: shows the type's subjects, or refuses an
    // unknown type and clears the field. False when refused.
    bool lookUpType();
    // The help button: picks a department type into the type field.
    void pickType();
    // The modify button.
    void modify();

signals:
    // The trimmed name and type as stored.
    void modified(const QString& name, const QString& typeNo);

private:
    gzgl::Session& s_;
    gzgl::Prompt& p_;
    QLineEdit* txtNo;
    QLineEdit* txtName;
    QLineEdit* txtType;
    QLineEdit* txtSubject;
    QLineEdit* txtOppSubject;
    QPushButton* cmdModify;
};
