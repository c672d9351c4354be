#include "screens/base/DatePopup.h"

#include <QCalendarWidget>
#include <QLineEdit>
#include <QLocale>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

DatePopup::DatePopup(QLineEdit* edit, QWidget* parent) : QFrame(parent, Qt::Popup), edit_(edit) {
    setObjectName("DatePopup");
    setAttribute(Qt::WA_DeleteOnClose);
    setFrameShape(QFrame::StyledPanel);
    calendar_ = new QCalendarWidget(this);
    calendar_->setObjectName("calRq");
    calendar_->setGridVisible(true);
    calendar_->setLocale(QLocale(QLocale::Chinese, QLocale::China));
    const QDate start = parse(edit->text().trimmed());
    calendar_->setSelectedDate(start.isValid() ? start : QDate::currentDate());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->addWidget(calendar_);
    connect(calendar_, &QCalendarWidget::clicked, this, &DatePopup::choose);
    connect(calendar_, &QCalendarWidget::activated, this, &DatePopup::choose);
}

DatePopup* DatePopup::open(QLineEdit* edit, QWidget* anchor) {
    auto* popup = new DatePopup(edit, anchor->window());
    popup->adjustSize();
    // Below the button, moved back inside the screen when it would leave it.
    QPoint at = anchor->mapToGlobal(QPoint(0, anchor->height()));
    if (const QScreen* screen = anchor->screen()) {
        const QRect room = screen->availableGeometry();
        at.setX(std::max(room.left(), std::min(at.x(), room.right() - popup->width())));
        if (at.y() + popup->height() > room.bottom())
            at.setY(anchor->mapToGlobal(QPoint(0, 0)).y() - popup->height());
    }
    popup->move(at);
    popup->show();
    popup->calendar_->setFocus();
    return popup;
}

void DatePopup::choose(QDate date) {
    if (date.isValid())
        edit_->setText(format(date));
    close();
}

QDate DatePopup::parse(const QString& text) {
    if (text.size() != 10)
        return {};
    return QDate::fromString(text, QStringLiteral("yyyy.MM.dd"));
}

QString DatePopup::format(QDate date) {
    return date.toString(QStringLiteral("yyyy.MM.dd"));
}
