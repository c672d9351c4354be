// The month calendar that the joining-date buttons open: a small popup next
// to the button, starting at the box's date (yyyy.mm.dd) or today; a click
// on a day writes it back into the box as yyyy.mm.dd and closes.
#pragma once

#include <QDate>
#include <QFrame>

class QCalendarWidget;
class QLineEdit;

class DatePopup : public QFrame {
    Q_OBJECT
public:
    // Opens the popup below anchor for edit; it deletes itself on closing.
    static DatePopup* open(QLineEdit* edit, QWidget* anchor);

    QCalendarWidget* calendar() const { return calendar_; }
    // Writes the date into the box and closes.
    void choose(QDate date);

    // The date a "yyyy.mm.dd" text names; invalid for anything else.
    static QDate parse(const QString& text);
    static QString format(QDate date);

private:
    DatePopup(QLineEdit* edit, QWidget* parent);

    QLineEdit* edit_;
    QCalendarWidget* calendar_;
};
