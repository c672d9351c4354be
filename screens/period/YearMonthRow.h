// The "year 年 month 月" row of the month-end and clearing screens: two
// short boxes sized for their digits, between the screen's own captions.
#pragma once

#include <QString>

class QHBoxLayout;
class QLineEdit;
class QWidget;

struct YearMonthRow {
    QLineEdit* year;
    QLineEdit* month;
    QHBoxLayout* row;
};

// before stands in front of the year box, after (when not empty) behind "月".
YearMonthRow yearMonthRow(QWidget* parent, const QString& before, const QString& after = {});
