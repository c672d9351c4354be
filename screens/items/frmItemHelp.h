// The number-item picker: ticks items and answers their codes joined with
// ",", for the boxes that hold a list of item codes (an employee's items not
// calculated, for example).
#pragma once

#include "core/session.h"

#include <QDialog>

class QListWidget;

class frmItemHelp : public QDialog {
    Q_OBJECT
public:
    // codes: the list the box holds now; its items start ticked.
    frmItemHelp(gzgl::Session& s, const QString& codes, QWidget* parent = nullptr);
    // The ticked codes in list order, joined with ",".
    QString codes() const;

private:
    QListWidget* lstItem;
};
