// Adds department types one after another: the number is proposed as the
// next free one, the name box is cleared after each add. typeAdded lets the
// list screen reload.
#pragma once

#include "core/prompt.h"
#include "core/session.h"

#include <QDialog>

class QLineEdit;

class frmDK1 : public QDialog {
    Q_OBJECT
public:
    frmDK1(gzgl::Session& s, gzgl::Prompt& p, QWidget* parent = nullptr);

    // The OK button.
    void confirm();

signals:
    void typeAdded();

private:
    void propose();

    gzgl::Session& s_;
    gzgl::Prompt& p_;
    QLineEdit* txtNo;
    QLineEdit* txtType;
};
