#include "screens/session/FrmDH.h"

#include "core/commands.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpression>

#include <cmath>

namespace {
const char* kLanes[] = {"基础档案", "日常处理", "系统管理"};
const QColor kLaneColours[] = {QColor(0x2e, 0x7d, 0x32), QColor(0x15, 0x65, 0xc0), QColor(0x6a, 0x1b, 0x9a)};

QString captionOf(const std::string& code) {
    if (code == "41")
        return QStringLiteral("退出系统");
    QString c = QString::fromStdString(gzgl::commandCaption(*gzgl::navigationCommand(code)));
    return c.remove(QRegularExpression(R"(\(&.\))"));
}
} // namespace

FrmDH::FrmDH(QWidget* parent) : QWidget(parent) {
    setObjectName("FrmDH");
    setWindowTitle(QStringLiteral("工资管理导航"));
    setMouseTracking(true);
    for (const std::string& code : gzgl::navigationCodes()) {
        const int group = code[0] - '1'; // 1 daily, 2 base, 3 system, 4 exit
        const int lane = group == 0 ? 1 : group == 1 ? 0 : 2;
        const int slot = code[1] - '1';
        boxes_.push_back({QString::fromStdString(code),
                          captionOf(code),
                          group == 3 ? 2 : lane,
                          group == 3 ? 5 : slot,
                          {}});
    }
    layoutBoxes();
}

void FrmDH::layoutBoxes() {
    const double left = 110;
    const double w = std::max(60.0, (width() - left - 20) / 6.0);
    const double laneH = std::max(60.0, (height() - 20) / 3.0);
    for (Box& b : boxes_)
        b.rect = QRectF(left + b.slot * w + 8, 10 + b.lane * laneH + laneH * 0.25, w - 26, laneH * 0.5);
    update();
}

QRectF FrmDH::boxOf(const QString& code) const {
    for (const Box& b : boxes_)
        if (b.code == code)
            return b.rect;
    return {};
}

int FrmDH::hit(const QPointF& p) const {
    for (std::size_t i = 0; i < boxes_.size(); ++i)
        if (boxes_[i].rect.contains(p))
            return static_cast<int>(i);
    return -1;
}

void FrmDH::paintEvent(QPaintEvent*) {
    QPainter g(this);
    g.setRenderHint(QPainter::Antialiasing);
    g.fillRect(rect(), QColor(0xf7, 0xf9, 0xfc));
    const double laneH = std::max(60.0, (height() - 20) / 3.0);
    QFont laneFont = font();
    laneFont.setBold(true);
    laneFont.setPointSizeF(font().pointSizeF() + 2);
    for (int lane = 0; lane < 3; ++lane) {
        const QRectF band(10, 10 + lane * laneH + 4, width() - 20, laneH - 8);
        g.setPen(Qt::NoPen);
        QColor tint = kLaneColours[lane];
        tint.setAlpha(28);
        g.setBrush(tint);
        g.drawRoundedRect(band, 10, 10);
        g.setPen(kLaneColours[lane]);
        g.setFont(laneFont);
        g.drawText(QRectF(band.left(), band.top(), 95, band.height()), Qt::AlignCenter,
                   QString::fromUtf8(kLanes[lane]));
    }
    // Arrows: along the base-record and the daily lanes, and from the roster
    // down into the month's entry.
    g.setPen(QPen(QColor(0x60, 0x60, 0x60), 1.6));
    auto arrow = [&g](QPointF a, QPointF b) {
        g.drawLine(a, b);
        const QLineF l(b, a);
        const double angle = std::atan2(-l.dy(), l.dx());
        const double s = 7;
        QPolygonF head;
        head << b << b + QPointF(std::cos(angle + 0.45) * s, -std::sin(angle + 0.45) * s)
             << b + QPointF(std::cos(angle - 0.45) * s, -std::sin(angle - 0.45) * s);
        g.setBrush(QColor(0x60, 0x60, 0x60));
        g.drawPolygon(head);
    };
    for (const char* pair : {"2122", "2223", "2324", "2425", "1112", "1213", "1314", "1415", "1516"}) {
        const QRectF a = boxOf(QString::fromLatin1(pair, 2));
        const QRectF b = boxOf(QString::fromLatin1(pair + 2, 2));
        arrow(QPointF(a.right(), a.center().y()), QPointF(b.left(), b.center().y()));
    }
    const QRectF roster = boxOf("21");
    const QRectF entry = boxOf("11");
    arrow(QPointF(roster.center().x(), roster.bottom()), QPointF(entry.center().x(), entry.top()));

    g.setFont(font());
    for (std::size_t i = 0; i < boxes_.size(); ++i) {
        const Box& b = boxes_[i];
        // A box whose command is disabled is drawn grey, as its menu entry.
        const QColor c = disabled_.contains(b.code) ? QColor(0xa0, 0xa0, 0xa0)
                         : b.code == "41"           ? QColor(0xc6, 0x28, 0x28)
                                                    : kLaneColours[b.lane];
        g.setPen(QPen(c.darker(120), 1.2));
        g.setBrush(static_cast<int>(i) == hover_ ? c.lighter(150) : QColor(Qt::white));
        g.drawRoundedRect(b.rect, 8, 8);
        g.setPen(static_cast<int>(i) == hover_ ? QColor(Qt::white) : c.darker(130));
        g.drawText(b.rect.adjusted(4, 2, -4, -2), Qt::AlignCenter | Qt::TextWordWrap, b.caption);
    }
}

void FrmDH::setDisabledCodes(const QSet<QString>& codes) {
    if (codes == disabled_)
        return;
    disabled_ = codes;
    update();
}

void FrmDH::mouseMoveEvent(QMouseEvent* e) {
    int h = hit(e->position());
    if (h >= 0 && disabled_.contains(boxes_[static_cast<std::size_t>(h)].code))
        h = -1;
    if (h != hover_) {
        hover_ = h;
        setCursor(h >= 0 ? Qt::PointingHandCursor : Qt::ArrowCursor);
        update();
    }
}

void FrmDH::mousePressEvent(QMouseEvent* e) {
    const int h = hit(e->position());
    if (h >= 0 && e->button() == Qt::LeftButton &&
        !disabled_.contains(boxes_[static_cast<std::size_t>(h)].code))
        emit codeClicked(boxes_[static_cast<std::size_t>(h)].code);
}
