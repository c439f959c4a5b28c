#include "editor/tree_icons.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>

namespace tree_icons {

namespace {

// One family: 1.5-unit strokes in the text colour, one accent, rounded corners.
constexpr QColor kAccent(0x2b, 0x6c, 0xb0);
constexpr QColor kMuted(0x8a, 0x8f, 0x96);

QPixmap Canvas(qreal ratio) {
    QPixmap pixmap(QSize(kWidth, kHeight) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

QPen Stroke(const QColor& colour) {
    QPen pen(colour, 1.5);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

void Draw(QPainter& p, ENode node, const QColor& ink) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Stroke(ink));
    p.setBrush(Qt::NoBrush);
    switch (node) {
        case ENode::Root:  // a handheld radio
            p.drawRoundedRect(QRectF(8.5, 5.5, 8, 13), 1.5, 1.5);
            p.drawLine(QPointF(14.5, 5.5), QPointF(14.5, 1.5));
            p.setPen(Stroke(kAccent));
            p.drawRect(QRectF(10.5, 7.5, 4, 3));
            break;
        case ENode::GeneralSettings:  // sliders
            for (int i = 0; i < 3; ++i) {
                const qreal y = 5.5 + i * 4.5;
                p.drawLine(QPointF(5, y), QPointF(20, y));
            }
            p.setPen(Stroke(kAccent));
            p.setBrush(kAccent);
            p.drawEllipse(QPointF(9, 5.5), 1.6, 1.6);
            p.drawEllipse(QPointF(16, 10), 1.6, 1.6);
            p.drawEllipse(QPointF(11, 14.5), 1.6, 1.6);
            break;
        case ENode::AudioSettings: {  // a speaker and its sound
            QPainterPath speaker;
            speaker.moveTo(5, 8);
            speaker.lineTo(8, 8);
            speaker.lineTo(12, 4.5);
            speaker.lineTo(12, 15.5);
            speaker.lineTo(8, 12);
            speaker.lineTo(5, 12);
            speaker.closeSubpath();
            p.drawPath(speaker);
            p.setPen(Stroke(kAccent));
            p.drawArc(QRectF(11, 6, 6, 8), -60 * 16, 120 * 16);
            p.drawArc(QRectF(11, 3.5, 10, 13), -60 * 16, 120 * 16);
            break;
        }
        case ENode::Buttons:  // a keypad
            for (int row = 0; row < 2; ++row) {
                for (int col = 0; col < 3; ++col) {
                    p.drawRoundedRect(QRectF(5 + col * 5.5, 5 + row * 5.5, 4, 4), 1, 1);
                }
            }
            break;
        case ENode::RfFrequency: {  // a wave
            QPainterPath wave;
            wave.moveTo(3, 10);
            for (int i = 0; i < 4; ++i) {
                const qreal x = 3 + i * 5;
                wave.cubicTo(x + 1.2, 4, x + 2.5, 4, x + 2.5, 10);
                wave.cubicTo(x + 3.7, 16, x + 5, 16, x + 5, 10);
            }
            p.setPen(Stroke(kAccent));
            p.drawPath(wave);
            break;
        }
        case ENode::Channels:  // a list
            for (int i = 0; i < 3; ++i) {
                const qreal y = 5.5 + i * 4.5;
                p.drawLine(QPointF(9, y), QPointF(20, y));
                p.setPen(Stroke(kAccent));
                p.drawPoint(QPointF(5.5, y));
                p.setPen(Stroke(ink));
            }
            break;
        case ENode::ScanList: {  // a magnifier over a list
            p.drawLine(QPointF(4, 5.5), QPointF(11, 5.5));
            p.drawLine(QPointF(4, 10), QPointF(9, 10));
            p.drawLine(QPointF(4, 14.5), QPointF(9, 14.5));
            p.setPen(Stroke(kAccent));
            p.drawEllipse(QPointF(15, 10), 3.5, 3.5);
            p.drawLine(QPointF(17.5, 12.5), QPointF(20.5, 15.5));
            break;
        }
        case ENode::CustomizedKT:
        case ENode::CustomizedVRC: {
            p.drawRoundedRect(QRectF(2.5, 3.5, 20, 13), 2, 2);
            QFont font = QGuiApplication::font();
            font.setPixelSize(8);
            font.setBold(true);
            p.setFont(font);
            p.setPen(kAccent);
            p.drawText(QRectF(2.5, 3.5, 20, 13), Qt::AlignCenter,
                       node == ENode::CustomizedKT ? QStringLiteral("KT") : QStringLiteral("VRC"));
            break;
        }
    }
}

QColor Ink() {
    return QGuiApplication::palette().color(QPalette::WindowText);
}

template <class TPaint>
QIcon Make(TPaint paint) {
    QIcon icon;
    // Drawn at each density the screens may ask for, so no size is a scaled copy of another.
    for (const qreal ratio : {1.0, 1.5, 2.0}) {
        QPixmap pixmap = Canvas(ratio);
        QPainter painter(&pixmap);
        paint(painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace

QIcon NodeIcon(ENode node) {
    return Make([node](QPainter& p) { Draw(p, node, Ink()); });
}

QIcon ChannelIcon(int number, bool disabled) {
    if (number < 1 || number > kChannelIcons) {
        return {};
    }
    return Make([number, disabled](QPainter& p) {
        p.setRenderHint(QPainter::Antialiasing);
        const QColor colour = disabled ? kMuted : kAccent;
        p.setPen(Stroke(colour));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(1.5, 2.5, 22, 15), 2.5, 2.5);
        QFont font = QGuiApplication::font();
        font.setPixelSize(11);
        font.setWeight(QFont::Medium);
        p.setFont(font);
        p.setPen(disabled ? kMuted : Ink());
        p.drawText(QRectF(1.5, 2.5, 22, 15), Qt::AlignCenter, QString::number(number));
        if (disabled) {
            // A stroke through the number: the channel is there but switched off.
            p.setPen(Stroke(kMuted));
            p.drawLine(QPointF(4, 15), QPointF(21, 5));
        }
    });
}

}  // namespace tree_icons
