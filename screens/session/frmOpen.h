// Task choice: the list of salary tasks; OK opens the chosen one.
#pragma once

#include "core/login.h"

#include <QDialog>

class QListWidget;
class QPushButton;

class frmOpen : public QDialog {
    Q_OBJECT
public:
    frmOpen(gzgl::Session& s, gzgl::Prompt& p, QWidget* parent = nullptr);
    // What the confirmation decided; Closed when the screen was cancelled.
    gzgl::ChoiceNext next() const { return next_; }

private:
    void confirm();
    bool eventFilter(QObject* watched, QEvent* event) override;

    gzgl::Session& s_;
    gzgl::Prompt& p_;
    QListWidget* lstGZT;
    QPushButton* cmdOk;
    gzgl::ChoiceNext next_ = gzgl::ChoiceNext::Closed;
};
