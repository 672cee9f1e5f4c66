#include "SkinButtonPainter.h"

#include "IconPainter.h"
#include "resources/IconCatalog.h"
#include "ui/ShadeButton.h"
#include "ui/SystemColors.h"

#include <QImage>
#include <QPainter>

namespace zentrel {

namespace {

QColor qc(Color c) {
    return QColor(c.r, c.g, c.b);
}

QImage toImage(const ShadeButton::Image& img) {
    QImage out(img.width, img.height, QImage::Format_RGB32);
    for (int y = 0; y < img.height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < img.width; ++x) {
            const Color c = img.colorAt(x, y);
            line[x] = qRgb(c.r, c.g, c.b);
        }
    }
    return out;
}

void drawEdge(QPainter& p, QRect r, SkinButton::Edge edge) {
    const QColor light = qc(SystemColors::ButtonHighlight);
    const QColor shadow = qc(SystemColors::ButtonShadow);
    const QColor dark = qc(SystemColors::ButtonDarkShadow);
    r.adjust(0, 0, -1, -1);
    auto frame = [&](const QRect& f, const QColor& topLeft, const QColor& bottomRight) {
        p.setPen(topLeft);
        p.drawLine(f.topLeft(), f.topRight());
        p.drawLine(f.topLeft(), f.bottomLeft());
        p.setPen(bottomRight);
        p.drawLine(f.bottomLeft(), f.bottomRight());
        p.drawLine(f.topRight(), f.bottomRight());
    };
    switch (edge) {
    case SkinButton::Edge::None:
        break;
    case SkinButton::Edge::RaisedThin:
        frame(r, light, shadow);
        break;
    case SkinButton::Edge::SunkenThin:
        frame(r, shadow, light);
        break;
    case SkinButton::Edge::ThreeD:
        frame(r, light, dark);
        frame(r.adjusted(1, 1, -1, -1), qc(SystemColors::ButtonLight), shadow);
        break;
    case SkinButton::Edge::ShadowFrame:
        p.setPen(shadow);
        p.setBrush(Qt::NoBrush);
        p.drawRect(r);
        break;
    }
}

} // namespace

void paintSkinButton(QPainter& p, const QRect& rect, const SkinButton& skin,
                     const SkinButton::DrawState& state, const QString& text) {
    const SkinButton::Look look = skin.look(state);
    QRect r = rect;
    if (look.blackFrame) {
        p.setPen(Qt::black);
        p.setBrush(Qt::NoBrush);
        p.drawRect(r.adjusted(0, 0, -1, -1));
        r.adjust(1, 1, -1, -1);
    }

    const auto* shade = dynamic_cast<const ShadeButton*>(&skin);
    if (shade != nullptr && shade->shaded()) {
        bool shifted = false;
        const ShadeButton::Image& face = shade->faceFor(state, &shifted);
        p.drawImage(r.topLeft() + (shifted ? QPoint(1, 1) : QPoint()), toImage(face));
    } else if (!look.transparent) {
        p.fillRect(r, qc(look.back));
    }
    drawEdge(p, r, look.edge);

    if (look.icon != 0) {
        QPixmap pm = iconPixmap(look.icon);
        if (look.iconDisabled) {
            QImage gray = pm.toImage().convertToFormat(QImage::Format_ARGB32);
            for (int y = 0; y < gray.height(); ++y) {
                auto* line = reinterpret_cast<QRgb*>(gray.scanLine(y));
                for (int x = 0; x < gray.width(); ++x) {
                    const int g = qGray(line[x]);
                    line[x] = qRgba(g, g, g, qAlpha(line[x]) / 2);
                }
            }
            pm = QPixmap::fromImage(gray);
        }
        const QRect target(QPoint(0, 0), pm.size());
        QRect placed = target;
        placed.moveCenter(r.center());
        if (text.isEmpty()) {
            p.drawPixmap(placed.topLeft(), pm);
        } else {
            p.drawPixmap(QPoint(r.left() + 4, placed.top()), pm);
        }
    }

    if (!text.isEmpty()) {
        QRect tr = r;
        if (look.textOffset) {
            tr.translate(1, 1);
        }
        if (look.embossedText) {
            p.setPen(qc(SystemColors::ButtonHighlight));
            p.drawText(tr.translated(1, 1), Qt::AlignCenter, text);
            p.setPen(qc(SystemColors::ButtonShadow));
            p.drawText(tr, Qt::AlignCenter, text);
        } else {
            p.setPen(qc(look.text));
            p.drawText(tr, Qt::AlignCenter, text);
        }
    }

    if (look.focusRect) {
        QPen pen(Qt::black);
        pen.setStyle(Qt::DotLine);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawRect(r.adjusted(3, 3, -4, -4));
    }
}

} // namespace zentrel
