#include "IconPainter.h"

#include "resources/IconCatalog.h"
#include "resources/ResourceIds.h"

#include <QPainter>
#include <QPainterPath>

namespace zentrel {

namespace {

const QColor kBlue(30, 144, 225);

// A small four-by-four matrix: a rounded panel with four inputs crossing four outputs.
void drawMatrix(QPainter& p, const QRectF& r, const QColor& panel, const QColor& lines) {
    p.setPen(Qt::NoPen);
    p.setBrush(panel);
    const qreal radius = r.width() / 6;
    p.drawRoundedRect(r, radius, radius);
    QPen pen(lines);
    pen.setWidthF(qMax<qreal>(1.0, r.width() / 16));
    p.setPen(pen);
    const qreal inset = r.width() / 5;
    const QRectF grid = r.adjusted(inset, inset, -inset, -inset);
    for (int i = 0; i < 4; ++i) {
        const qreal t = grid.left() + grid.width() * i / 3;
        const qreal u = grid.top() + grid.height() * i / 3;
        p.drawLine(QPointF(t, grid.top()), QPointF(t, grid.bottom()));
        p.drawLine(QPointF(grid.left(), u), QPointF(grid.right(), u));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(lines);
    const qreal dot = pen.widthF() * 2.2;
    for (int i = 0; i < 4; ++i) {
        // The routing 1->1, 2->3, 3->2, 4->4 as dots on the crossings.
        static constexpr int out[4] = {0, 2, 1, 3};
        const QPointF c(grid.left() + grid.width() * i / 3,
                        grid.top() + grid.height() * out[i] / 3);
        p.drawEllipse(c, dot, dot);
    }
}

void drawHotBackdrop(QPainter& p, const QRectF& r) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 70));
    p.drawRoundedRect(r, 2, 2);
}

void drawMinimize(QPainter& p, const QRectF& r, bool hot) {
    if (hot) {
        drawHotBackdrop(p, r);
    }
    QPen pen(Qt::white);
    pen.setWidthF(2);
    pen.setCapStyle(Qt::SquareCap);
    p.setPen(pen);
    const qreal y = r.top() + r.height() * 0.72;
    p.drawLine(QPointF(r.left() + r.width() * 0.22, y), QPointF(r.right() - r.width() * 0.22, y));
}

void drawClose(QPainter& p, const QRectF& r, bool hot) {
    if (hot) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(232, 72, 72));
        p.drawRoundedRect(r, 2, 2);
    }
    QPen pen(Qt::white);
    pen.setWidthF(1.8);
    pen.setCapStyle(Qt::RoundCap);
    p.setPen(pen);
    const QRectF x =
        r.adjusted(r.width() * 0.25, r.height() * 0.25, -r.width() * 0.25, -r.height() * 0.25);
    p.drawLine(x.topLeft(), x.bottomRight());
    p.drawLine(x.topRight(), x.bottomLeft());
}

void drawLink(QPainter& p, const QRectF& r) {
    QPen pen(QColor(40, 40, 40));
    pen.setWidthF(qMax<qreal>(1.5, r.width() / 10));
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const qreal w = r.width() * 0.5;
    const qreal h = r.height() * 0.34;
    p.drawRoundedRect(QRectF(r.left() + 1, r.center().y() - h / 2, w, h), h / 2, h / 2);
    p.drawRoundedRect(QRectF(r.right() - 1 - w, r.center().y() - h / 2, w, h), h / 2, h / 2);
}

// The state of a link: a lit green lamp when connected, a dark red one when not.
void drawLinkState(QPainter& p, const QRectF& r, bool up) {
    const QColor lamp = up ? QColor(40, 200, 60) : QColor(200, 40, 40);
    p.setPen(QPen(lamp.darker(160), 1));
    QRadialGradient glow(r.center() - QPointF(r.width() / 6, r.height() / 6), r.width() / 2);
    glow.setColorAt(0, lamp.lighter(up ? 170 : 130));
    glow.setColorAt(1, lamp);
    p.setBrush(glow);
    p.drawEllipse(r.adjusted(1, 1, -1, -1));
}

// An open folder in yellow: the buttons that choose a file.
void drawOpenFolder(QPainter& p, const QRectF& r) {
    const QColor body(232, 184, 56);
    p.setPen(QPen(body.darker(170), 1));
    p.setBrush(body.darker(115));
    QPainterPath back;
    back.moveTo(r.left() + 1, r.bottom() - 2);
    back.lineTo(r.left() + 1, r.top() + r.height() * 0.2);
    back.lineTo(r.left() + r.width() * 0.4, r.top() + r.height() * 0.2);
    back.lineTo(r.left() + r.width() * 0.5, r.top() + r.height() * 0.32);
    back.lineTo(r.right() - 2, r.top() + r.height() * 0.32);
    back.lineTo(r.right() - 2, r.bottom() - 2);
    back.closeSubpath();
    p.drawPath(back);
    p.setBrush(body);
    QPainterPath front;
    front.moveTo(r.left() + 1, r.bottom() - 2);
    front.lineTo(r.left() + r.width() * 0.22, r.top() + r.height() * 0.48);
    front.lineTo(r.right(), r.top() + r.height() * 0.48);
    front.lineTo(r.right() - r.width() * 0.2, r.bottom() - 2);
    front.closeSubpath();
    p.drawPath(front);
}

// A solid triangle pointing left or right, in the dark grey of button captions.
void drawArrow(QPainter& p, const QRectF& r, bool next) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 60, 60));
    const qreal x0 = r.left() + r.width() * 0.3;
    const qreal x1 = r.right() - r.width() * 0.3;
    const qreal tip = next ? x1 : x0;
    const qreal base = next ? x0 : x1;
    const QPointF points[3] = {QPointF(base, r.top() + r.height() * 0.2),
                               QPointF(base, r.bottom() - r.height() * 0.2),
                               QPointF(tip, r.center().y())};
    p.drawPolygon(points, 3);
}

} // namespace

QPixmap iconPixmap(int resource, QSize size) {
    const auto natural = iconSize(resource);
    if (!natural) {
        return {};
    }
    if (!size.isValid() || size.isEmpty()) {
        size = QSize(natural->width, natural->height);
    }
    QPixmap pm(size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(0.5, 0.5, size.width() - 1.0, size.height() - 1.0);
    switch (resource) {
    case res::kAppIcon:
        drawMatrix(p, r, kBlue, Qt::white);
        break;
    case res::kCaptionIcon:
        drawMatrix(p, r, Qt::white, kBlue);
        break;
    case res::kMinimizeIcon:
    case res::kMinimizeIconHot:
        drawMinimize(p, r, resource == res::kMinimizeIconHot);
        break;
    case res::kCloseIcon:
    case res::kCloseIconHot:
        drawClose(p, r, resource == res::kCloseIconHot);
        break;
    case res::kLinkIcon:
        drawLink(p, r);
        break;
    case res::kLinkDownIcon:
    case res::kLinkUpIcon:
        drawLinkState(p, r, resource == res::kLinkUpIcon);
        break;
    case res::kOpenFileIcon:
        drawOpenFolder(p, r);
        break;
    case res::kNextArrowIcon:
    case res::kPrevArrowIcon:
        drawArrow(p, r, resource == res::kNextArrowIcon);
        break;
    default:
        break;
    }
    return pm;
}

} // namespace zentrel
