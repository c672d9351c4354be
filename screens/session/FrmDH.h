// The navigation window: a painted picture of the month's work flow whose
// boxes report their command codes when clicked.
#pragma once

#include <QRectF>
#include <QSet>
#include <QString>
#include <QWidget>

#include <vector>

class FrmDH : public QWidget {
    Q_OBJECT
public:
    explicit FrmDH(QWidget* parent = nullptr);
    // The box of a code in widget coordinates (empty for an unknown code).
    QRectF boxOf(const QString& code) const;
    QSize sizeHint() const override { return {760, 420}; }
    // The codes whose commands are disabled: drawn grey and not reported.
    void setDisabledCodes(const QSet<QString>& codes);

signals:
    void codeClicked(const QString& code);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void resizeEvent(QResizeEvent*) override { layoutBoxes(); }

private:
    struct Box {
        QString code;
        QString caption;
        int lane;
        int slot;
        QRectF rect;
    };
    void layoutBoxes();
    int hit(const QPointF& p) const;

    std::vector<Box> boxes_;
    int hover_ = -1;
    QSet<QString> disabled_;
};
