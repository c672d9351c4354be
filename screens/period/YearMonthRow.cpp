#include "screens/period/YearMonthRow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

YearMonthRow yearMonthRow(QWidget* parent, const QString& before, const QString& after) {
    auto edit = [parent](const char* name, int maxLength, int chars) {
        auto* e = new QLineEdit(parent);
        e->setObjectName(name);
        e->setMaxLength(maxLength);
        e->setAlignment(Qt::AlignCenter);
        // Room for the digits and the frame, whatever the font.
        e->setFixedWidth(e->fontMetrics().horizontalAdvance(QString(chars, '0')) + 24);
        return e;
    };
    YearMonthRow r{edit("txtYear", 4, 5), edit("txtMonth", 2, 3), new QHBoxLayout};
    r.row->addWidget(new QLabel(before, parent));
    r.row->addWidget(r.year);
    r.row->addWidget(new QLabel(QStringLiteral("年"), parent));
    r.row->addWidget(r.month);
    r.row->addWidget(new QLabel(QStringLiteral("月"), parent));
    if (!after.isEmpty())
        r.row->addWidget(new QLabel(after, parent));
    r.row->addStretch(1);
    return r;
}
