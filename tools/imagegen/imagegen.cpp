// Draws every image of the table in imagetable.h into <out>/Picture/<folder>/.
//
//   imagegen <out> [--sheet <contact-sheet.png>]
//
// The look: deep charcoal surfaces, one electric-cyan accent (the catalogue's
// theme colours use the same accent), crisp vector glyphs. Everything is drawn
// with QPainter paths, so the images are the same on every machine.

#include "imagetable.h"

#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>

#include <cstdio>

using namespace imagegen;

namespace {

namespace col {
const QColor bgTop(19, 22, 27);
const QColor bgBottom(9, 10, 13);
const QColor surface(24, 28, 34);
const QColor surfaceHi(30, 34, 42);
const QColor line(44, 50, 61);
const QColor lineHi(62, 70, 85);
const QColor textDim(128, 138, 154);
const QColor text(214, 222, 235);
const QColor white(244, 250, 255);
const QColor accent(0, 200, 255);
const QColor accentDeep(0, 150, 200);
const QColor danger(255, 77, 94);
const QColor success(0, 230, 140);
const QColor warn(255, 176, 32);
const QColor muted(92, 100, 114);
} // namespace col

QColor alpha(QColor c, int a)
{
    c.setAlpha(a);
    return c;
}

// The colour a glyph takes for a state within its tone.
QColor inkFor(State s, Tone t)
{
    switch (t) {
    case Tone::Accent:
        return s == State::Click ? col::accentDeep : col::accent;
    case Tone::Success:
        return col::success;
    case Tone::Warn:
        return s == State::Hover ? col::warn.lighter(115) : col::warn;
    case Tone::Muted:
        return col::muted;
    case Tone::Danger:
        switch (s) {
        case State::Normal:
            return col::textDim;
        case State::Hover:
            return col::danger;
        case State::Click:
            return col::danger.darker(130);
        case State::Checked:
            return col::danger;
        }
        break;
    case Tone::Neutral:
        break;
    }
    switch (s) {
    case State::Normal:
        return col::textDim;
    case State::Hover:
        return col::white;
    case State::Click:
        return col::accentDeep;
    case State::Checked:
        return col::accent;
    }
    return col::textDim;
}

QPen roundPen(const QColor &c, qreal w)
{
    QPen p(c, w);
    p.setCapStyle(Qt::RoundCap);
    p.setJoinStyle(Qt::RoundJoin);
    return p;
}

QFont boldFont(int px, qreal spacing = 0)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setStyleHint(QFont::SansSerif);
    f.setBold(true);
    f.setPixelSize(px);
    if (spacing != 0)
        f.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
    return f;
}

// Soft rounded plate behind a glyph for hover, press and checked states.
void plate(QPainter &p, const QRectF &r, State s, Tone t)
{
    QColor fill;
    QColor rim;
    switch (s) {
    case State::Normal:
        return;
    case State::Hover:
        fill = t == Tone::Danger ? alpha(col::danger, 34) : alpha(col::white, 16);
        rim = t == Tone::Danger ? alpha(col::danger, 70) : alpha(col::white, 34);
        break;
    case State::Click:
        fill = t == Tone::Danger ? alpha(col::danger, 60) : alpha(col::accent, 46);
        rim = t == Tone::Danger ? alpha(col::danger, 110) : alpha(col::accent, 110);
        break;
    case State::Checked:
        fill = alpha(col::accent, 36);
        rim = alpha(col::accent, 120);
        break;
    }
    const qreal radius = qMin(r.width(), r.height()) * 0.28;
    p.setPen(QPen(rim, 1));
    p.setBrush(fill);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
}

// Maps the 24 x 24 design grid of a glyph onto the centre of the image.
void gridTransform(QPainter &p, const QSizeF &size, qreal extent = 24)
{
    const qreal s = qMin(size.width(), size.height()) / extent;
    p.translate((size.width() - extent * s) / 2, (size.height() - extent * s) / 2);
    p.scale(s, s);
}

// A glyph drawn twice: a wide faint stroke for the glow, then the crisp one.
template <typename Draw>
void withGlow(QPainter &p, const QColor &ink, bool glow, qreal width, Draw draw)
{
    if (glow) {
        p.setPen(roundPen(alpha(ink, 60), width * 2.6));
        p.setBrush(Qt::NoBrush);
        draw();
    }
    p.setPen(roundPen(ink, width));
    p.setBrush(Qt::NoBrush);
    draw();
}

QPainterPath gearPath()
{
    QPainterPath path;
    const int teeth = 8;
    for (int i = 0; i < teeth; ++i) {
        const qreal a = i * 2 * M_PI / teeth;
        const qreal half = M_PI / teeth;
        const qreal pts[4][2] = {
            {a - half * 0.95, 7.0}, {a - half * 0.45, 9.6}, {a + half * 0.45, 9.6}, {a + half * 0.95, 7.0}};
        for (int k = 0; k < 4; ++k) {
            const QPointF pt(12 + pts[k][1] * qCos(pts[k][0]), 12 + pts[k][1] * qSin(pts[k][0]));
            if (i == 0 && k == 0)
                path.moveTo(pt);
            else
                path.lineTo(pt);
        }
    }
    path.closeSubpath();
    return path;
}

void drawGlyph(QPainter &p, const ImageSpec &spec)
{
    const QSizeF size(spec.width, spec.height);
    const QColor ink = inkFor(spec.state, spec.tone);
    const bool glow = spec.state == State::Checked;
    const qreal w = 1.8;

    switch (spec.shape) {
    case Shape::Close:
        plate(p, QRectF(QPointF(0, 0), size), spec.state, spec.tone);
        gridTransform(p, size);
        withGlow(p, ink, false, spec.width < 16 ? 2.6 : 2.2, [&] {
            p.drawLine(QPointF(7, 7), QPointF(17, 17));
            p.drawLine(QPointF(17, 7), QPointF(7, 17));
        });
        return;
    case Shape::Minimise:
        plate(p, QRectF(QPointF(0, 0), size), spec.state, spec.tone);
        gridTransform(p, size);
        withGlow(p, ink, false, 2.2, [&] { p.drawLine(QPointF(6.5, 12.5), QPointF(17.5, 12.5)); });
        return;
    case Shape::MenuDown:
    case Shape::MenuUp: {
        const bool down = spec.shape == Shape::MenuDown;
        // the 12 x 8 chevron sits in the middle of larger images
        p.translate((size.width() - 12) / 2, (size.height() - 8) / 2);
        p.setPen(roundPen(spec.state == State::Checked ? col::accent : col::text, 1.8));
        QPainterPath c;
        c.moveTo(2, down ? 2 : 6);
        c.lineTo(6, down ? 6 : 2);
        c.lineTo(10, down ? 2 : 6);
        p.drawPath(c);
        return;
    }
    case Shape::ArrowLeft:
    case Shape::ArrowRight: {
        const QRectF ring(2, 2, size.width() - 4, size.height() - 4);
        const bool lit = spec.state != State::Normal;
        QRadialGradient fill(ring.center(), ring.width() / 2);
        fill.setColorAt(0, lit ? alpha(col::accent, 60) : alpha(col::surfaceHi, 220));
        fill.setColorAt(1, lit ? alpha(col::accent, 18) : alpha(col::surface, 220));
        p.setBrush(fill);
        p.setPen(QPen(lit ? alpha(col::accent, 200) : col::line, 1.5));
        p.drawEllipse(ring);
        const qreal cx = size.width() / 2, cy = size.height() / 2;
        const qreal dir = spec.shape == Shape::ArrowLeft ? -1 : 1;
        QPainterPath chevron;
        chevron.moveTo(cx - dir * 3.5, cy - 9);
        chevron.lineTo(cx + dir * 5.5, cy);
        chevron.lineTo(cx - dir * 3.5, cy + 9);
        withGlow(p, lit ? col::accent : col::text, lit, 3, [&] { p.drawPath(chevron); });
        return;
    }
    case Shape::BackArrow: {
        const QRectF pill(1.5, 2.5, size.width() - 3, size.height() - 5);
        const QColor rim = spec.state == State::Normal ? col::line : alpha(ink, 170);
        p.setPen(QPen(rim, 1.2));
        p.setBrush(spec.state == State::Normal  ? alpha(col::surface, 200)
                   : spec.state == State::Click ? alpha(col::accent, 46)
                                                : alpha(col::white, 14));
        p.drawRoundedRect(pill, pill.height() / 2, pill.height() / 2);
        const qreal cy = size.height() / 2;
        QPainterPath arrow;
        arrow.moveTo(23.5, cy);
        arrow.lineTo(10.5, cy);
        arrow.moveTo(15.5, cy - 5);
        arrow.lineTo(10.5, cy);
        arrow.lineTo(15.5, cy + 5);
        withGlow(p, spec.state == State::Normal ? col::text : ink, false, 2, [&] { p.drawPath(arrow); });
        return;
    }
    default:
        break;
    }

    // 30 x 30 page buttons and the other 24-grid glyphs.
    if (spec.shape >= Shape::PageSummary && spec.shape <= Shape::PageSetting)
        plate(p, QRectF(QPointF(0, 0), size), spec.state, spec.tone);

    // page buttons keep a margin for their plate
    const bool pageButton = spec.shape >= Shape::PageSummary && spec.shape <= Shape::PageSetting;
    gridTransform(p, size, pageButton ? 28 : 24);
    if (pageButton)
        p.translate(2, 2);

    switch (spec.shape) {
    case Shape::PageSummary:
        withGlow(p, ink, glow, w, [&] {
            p.drawArc(QRectF(3.5, 4.5, 17, 17), -30 * 16, 240 * 16);
            p.drawLine(QPointF(12, 13), QPointF(16.2, 8.6));
            p.drawLine(QPointF(6.2, 18.6), QPointF(7.3, 17.6));
            p.drawLine(QPointF(17.8, 18.6), QPointF(16.7, 17.6));
        });
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        p.drawEllipse(QPointF(12, 13), 1.8, 1.8);
        break;
    case Shape::PageButtons:
    case Shape::MouseGlyph: {
        const QRectF body(6.5, 2.5, 11, 19);
        if (glow || spec.shape == Shape::MouseGlyph) {
            QPainterPath left;
            left.moveTo(12, 2.5);
            left.lineTo(12, 10);
            left.lineTo(6.5, 10);
            left.lineTo(6.5, 8);
            left.arcTo(QRectF(6.5, 2.5, 11, 11), 180, -90);
            left.closeSubpath();
            p.setPen(Qt::NoPen);
            p.setBrush(alpha(ink, 110));
            p.drawPath(left);
        }
        withGlow(p, ink, glow, w, [&] {
            p.drawRoundedRect(body, 5.5, 5.5);
            p.drawLine(QPointF(6.5, 10), QPointF(17.5, 10));
            p.drawLine(QPointF(12, 2.5), QPointF(12, 10));
        });
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        p.drawRoundedRect(QRectF(11, 4.6, 2, 3.6), 1, 1);
        break;
    }
    case Shape::PageSensor:
        withGlow(p, ink, glow, w, [&] {
            p.drawEllipse(QPointF(12, 12), 6, 6);
            p.drawLine(QPointF(12, 2.5), QPointF(12, 7));
            p.drawLine(QPointF(12, 17), QPointF(12, 21.5));
            p.drawLine(QPointF(2.5, 12), QPointF(7, 12));
            p.drawLine(QPointF(17, 12), QPointF(21.5, 12));
        });
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        p.drawEllipse(QPointF(12, 12), 1.7, 1.7);
        break;
    case Shape::PageMacro:
        withGlow(p, ink, glow, 1.6, [&] {
            p.drawRoundedRect(QRectF(2.5, 6, 19, 12.5), 2.5, 2.5);
            p.drawLine(QPointF(8, 15.3), QPointF(16, 15.3));
        });
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        for (int i = 0; i < 5; ++i)
            p.drawRoundedRect(QRectF(5.1 + i * 3.1, 8.6, 1.8, 1.8), 0.4, 0.4);
        for (int i = 0; i < 4; ++i)
            p.drawRoundedRect(QRectF(6.6 + i * 3.1, 11.4, 1.8, 1.8), 0.4, 0.4);
        break;
    case Shape::PageLight: {
        QPainterPath bulb;
        bulb.moveTo(9.6, 16.2);
        bulb.cubicTo(9.4, 14.2, 6.5, 13.2, 6.5, 10);
        bulb.cubicTo(6.5, 6.9, 9, 4.6, 12, 4.6);
        bulb.cubicTo(15, 4.6, 17.5, 6.9, 17.5, 10);
        bulb.cubicTo(17.5, 13.2, 14.6, 14.2, 14.4, 16.2);
        bulb.closeSubpath();
        if (glow) {
            p.setPen(Qt::NoPen);
            p.setBrush(alpha(ink, 80));
            p.drawPath(bulb);
        }
        withGlow(p, ink, glow, w, [&] {
            p.drawPath(bulb);
            p.drawLine(QPointF(10.2, 19), QPointF(13.8, 19));
            p.drawLine(QPointF(12, 0.8), QPointF(12, 2));
            p.drawLine(QPointF(3.2, 4.2), QPointF(4.2, 5.1));
            p.drawLine(QPointF(20.8, 4.2), QPointF(19.8, 5.1));
            p.drawLine(QPointF(1.5, 10.5), QPointF(2.8, 10.5));
            p.drawLine(QPointF(22.5, 10.5), QPointF(21.2, 10.5));
        });
        break;
    }
    case Shape::PageAdvanced: {
        withGlow(p, ink, glow, w, [&] {
            for (qreal y : {6.5, 12.0, 17.5})
                p.drawLine(QPointF(3.5, y), QPointF(20.5, y));
        });
        p.setPen(roundPen(ink, w));
        p.setBrush(col::surface);
        p.drawEllipse(QPointF(15.5, 6.5), 2.4, 2.4);
        p.drawEllipse(QPointF(8.5, 12), 2.4, 2.4);
        p.drawEllipse(QPointF(13.5, 17.5), 2.4, 2.4);
        break;
    }
    case Shape::PageSetting:
        withGlow(p, ink, glow, 1.7, [&] {
            p.drawPath(gearPath());
            p.drawEllipse(QPointF(12, 12), 3.1, 3.1);
        });
        break;
    case Shape::Repair: {
        // a circular "restore" arrow around an exclamation mark
        p.setPen(Qt::NoPen);
        p.setBrush(alpha(ink, 26));
        p.drawEllipse(QPointF(12, 12), 11.2, 11.2);
        QPainterPath arc;
        arc.arcMoveTo(QRectF(4, 4, 16, 16), 75);
        arc.arcTo(QRectF(4, 4, 16, 16), 75, 285);
        withGlow(p, ink, false, 2.1, [&] {
            p.drawPath(arc);
            p.drawLine(QPointF(12, 7.6), QPointF(12, 12.4));
        });
        QPainterPath head; // the arc ends at 0 degrees heading upwards
        head.moveTo(20, 7.4);
        head.lineTo(23.2, 12.6);
        head.lineTo(16.8, 12.6);
        head.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        p.drawPath(head);
        p.drawEllipse(QPointF(12, 16), 1.35, 1.35);
        break;
    }
    case Shape::Usb:
        p.setPen(Qt::NoPen);
        p.setBrush(alpha(ink, 30));
        p.drawEllipse(QPointF(12, 12), 11.5, 11.5);
        withGlow(p, ink, false, 1.5, [&] {
            p.drawRect(QRectF(9, 3.5, 6, 5));
            p.drawRoundedRect(QRectF(7.5, 8.5, 9, 7), 1.6, 1.6);
            p.drawLine(QPointF(12, 15.5), QPointF(12, 20.5));
        });
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        p.drawRect(QRectF(10.2, 5, 1.3, 1.5));
        p.drawRect(QRectF(12.5, 5, 1.3, 1.5));
        break;
    case Shape::Wireless:
    case Shape::Offline: {
        const bool off = spec.shape == Shape::Offline;
        const QColor waves = off ? QColor(150, 158, 172) : ink;
        p.setPen(Qt::NoPen);
        p.setBrush(alpha(off ? col::danger : ink, off ? 44 : 30));
        p.drawEllipse(QPointF(12, 12), 11.5, 11.5);
        const QPointF c(12, 16.5);
        withGlow(p, waves, false, 1.8, [&] {
            for (qreal r : {4.2, 7.6, 11.0})
                p.drawArc(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), 45 * 16, 90 * 16);
        });
        p.setPen(Qt::NoPen);
        p.setBrush(waves);
        p.drawEllipse(c, 1.7, 1.7);
        if (off) {
            p.setPen(roundPen(col::bgBottom, 4.2));
            p.drawLine(QPointF(5.5, 5.5), QPointF(18.5, 18.5));
            p.setPen(roundPen(col::danger, 2.4));
            p.drawLine(QPointF(5.5, 5.5), QPointF(18.5, 18.5));
        }
        break;
    }
    case Shape::KeyPress:
    case Shape::KeyRelease: {
        // an arrow onto (press) or away from (release) a key's top
        const bool press = spec.shape == Shape::KeyPress;
        withGlow(p, ink, false, 2.4, [&] {
            p.drawLine(QPointF(5, 20), QPointF(19, 20));
            p.drawLine(QPointF(12, 3.5), QPointF(12, 15.5));
            QPainterPath head;
            head.moveTo(7, press ? 11 : 8.5);
            head.lineTo(12, press ? 16 : 3.5);
            head.lineTo(17, press ? 11 : 8.5);
            p.drawPath(head);
        });
        break;
    }
    case Shape::Clock:
        withGlow(p, ink, false, 2.2, [&] {
            p.drawEllipse(QPointF(12, 12), 9, 9);
            p.drawLine(QPointF(12, 12), QPointF(12, 6.5));
            p.drawLine(QPointF(12, 12), QPointF(16, 14));
        });
        break;
    default:
        break;
    }
}

void drawBattery(QPainter &p)
{
    // Outline around the battery gauge (a progress bar at 6, 4 of this
    // image, 38 x 18): the interior stays clear.
    const QColor rim(150, 160, 176);
    p.setPen(QPen(rim, 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(4.3, 2.8, 41.4, 22.4), 4, 4);
    p.setPen(Qt::NoPen);
    p.setBrush(rim);
    p.drawRoundedRect(QRectF(46.4, 9.5, 2.8, 9), 1.2, 1.2);
}

// The charging mark lies on the battery gauge, whose chunk is green, red or
// grey: a dark bolt with a light rim reads on all three.
void drawBolt(QPainter &p)
{
    QPainterPath bolt;
    bolt.moveTo(0.8, 4.4);
    bolt.lineTo(9.6, 0.4);
    bolt.lineTo(8.4, 3.0);
    bolt.lineTo(16.2, 2.6);
    bolt.lineTo(7.4, 6.6);
    bolt.lineTo(8.6, 4.0);
    bolt.closeSubpath();
    p.setPen(QPen(QColor(255, 255, 255, 220), 1));
    p.setBrush(QColor(12, 14, 18));
    p.drawPath(bolt);
}

void drawDot(QPainter &p, const QColor &ink)
{
    p.setPen(Qt::NoPen);
    p.setBrush(alpha(ink, 70));
    p.drawEllipse(QPointF(5, 5), 5, 5);
    QRadialGradient g(QPointF(4, 4), 4);
    g.setColorAt(0, ink.lighter(135));
    g.setColorAt(1, ink);
    p.setBrush(g);
    p.drawEllipse(QPointF(5, 5), 3.6, 3.6);
}

// The wordmark chevron: a sharp "V" used by the logo and the page headers.
QPainterPath chevronV(const QRectF &r)
{
    QPainterPath v;
    v.moveTo(r.left(), r.top());
    v.lineTo(r.left() + r.width() * 0.22, r.top());
    v.lineTo(r.center().x(), r.bottom() - r.height() * 0.30);
    v.lineTo(r.right() - r.width() * 0.22, r.top());
    v.lineTo(r.right(), r.top());
    v.lineTo(r.center().x(), r.bottom());
    v.closeSubpath();
    return v;
}

void drawLogo(QPainter &p, const QSizeF &size)
{
    const QRectF box(2, 2, size.width() - 4, size.height() - 4);
    QLinearGradient g(box.topLeft(), box.bottomRight());
    g.setColorAt(0, QColor(30, 35, 43));
    g.setColorAt(1, QColor(10, 12, 15));
    p.setPen(QPen(alpha(col::accent, 150), 1.5));
    p.setBrush(g);
    p.drawRoundedRect(box, box.width() * 0.22, box.width() * 0.22);
    const QRectF vr(box.left() + box.width() * 0.2, box.top() + box.height() * 0.26, box.width() * 0.6,
                    box.height() * 0.5);
    QLinearGradient vg(vr.topLeft(), vr.bottomLeft());
    vg.setColorAt(0, col::accent.lighter(120));
    vg.setColorAt(1, col::accentDeep);
    p.setPen(Qt::NoPen);
    p.setBrush(alpha(col::accent, 50));
    p.drawPath(chevronV(vr.adjusted(-2, -2, 2, 2)));
    p.setBrush(vg);
    p.drawPath(chevronV(vr));
}

void drawBadge(QPainter &p, const ImageSpec &spec)
{
    const QRectF pill(1.5, 3.5, spec.width - 3, spec.height - 7);
    QColor rim, fill, textColour;
    if (spec.state == State::Checked) {
        rim = col::accent.lighter(130);
        fill = col::accent;
        textColour = QColor(4, 18, 26);
    } else if (spec.tone == Tone::Accent) {
        rim = col::accent;
        fill = alpha(col::accent, 40);
        textColour = col::accent;
    } else if (spec.tone == Tone::Neutral) {
        rim = QColor(126, 176, 206);
        fill = alpha(QColor(126, 176, 206), 30);
        textColour = QColor(170, 210, 232);
    } else {
        rim = QColor(96, 106, 122);
        fill = alpha(col::surfaceHi, 230);
        textColour = QColor(176, 186, 200);
    }
    p.setPen(QPen(rim, 1.3));
    p.setBrush(fill);
    p.drawRoundedRect(pill, pill.height() / 2, pill.height() / 2);
    p.setPen(textColour);
    p.setFont(boldFont(11, 0.5));
    p.drawText(pill.adjusted(0, 0, 0, -0.5), Qt::AlignCenter, QString::fromLatin1(spec.text));
}

void drawPushButton(QPainter &p, const ImageSpec &spec)
{
    const QRectF r(0.75, 0.75, spec.width - 1.5, spec.height - 1.5);
    const qreal radius = qMin<qreal>(6, r.height() / 2 - 1);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    QColor rim;
    if (spec.tone == Tone::Success || spec.tone == Tone::Danger) {
        const QColor c = spec.tone == Tone::Success ? col::success : col::danger;
        g.setColorAt(0, QColor(34, 40, 46));
        g.setColorAt(1, QColor(20, 24, 28));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawRoundedRect(r, radius, radius);
        g.setColorAt(0, alpha(c, 70));
        g.setColorAt(1, alpha(c, 26));
        rim = c;
    } else if (spec.state == State::Click) {
        g.setColorAt(0, QColor(0, 186, 240));
        g.setColorAt(1, QColor(0, 128, 176));
        rim = col::accent.lighter(140);
    } else if (spec.tone == Tone::Muted) {
        // an unselected choice of a row: same plate, quiet rim
        g.setColorAt(0, QColor(32, 38, 46));
        g.setColorAt(1, QColor(21, 25, 31));
        rim = col::lineHi;
    } else {
        g.setColorAt(0, QColor(32, 44, 54));
        g.setColorAt(1, QColor(19, 26, 33));
        rim = alpha(col::accent, 210);
    }
    p.setPen(QPen(rim, 1.2));
    p.setBrush(g);
    p.drawRoundedRect(r, radius, radius);
    // a thin highlight along the top edge
    p.setPen(QPen(alpha(col::white, spec.state == State::Click ? 70 : 22), 1));
    p.drawLine(QPointF(r.left() + radius, r.top() + 1.2), QPointF(r.right() - radius, r.top() + 1.2));
}

void drawComboField(QPainter &p, const QSizeF &size)
{
    const QRectF r(0.5, 0.5, size.width() - 1, size.height() - 1);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, QColor(34, 39, 47));
    g.setColorAt(1, QColor(25, 29, 35));
    p.setPen(QPen(col::lineHi, 1));
    p.setBrush(g);
    p.drawRoundedRect(r, 4, 4);
}

// The popup list stretches this over its whole height and draws its own
// border, so the image is a plain fill.
void drawComboPopup(QPainter &p, const QSizeF &size)
{
    QLinearGradient g(0, 0, 0, size.height());
    g.setColorAt(0, QColor(26, 30, 37));
    g.setColorAt(1, QColor(19, 22, 27));
    p.fillRect(QRectF(QPointF(0, 0), size), g);
}

// The round "i" of a tip icon.
void drawTip(QPainter &p, const QSizeF &size)
{
    const QRectF r(1, 1, size.width() - 2, size.height() - 2);
    p.setPen(QPen(alpha(col::accent, 200), 1.2));
    p.setBrush(alpha(col::accent, 40));
    p.drawEllipse(r);
    p.setPen(Qt::NoPen);
    p.setBrush(col::white);
    const qreal cx = size.width() / 2;
    p.drawEllipse(QPointF(cx, size.height() * 0.3), 1.1, 1.1);
    p.drawRoundedRect(QRectF(cx - 1, size.height() * 0.43, 2, size.height() * 0.35), 0.8, 0.8);
}

void drawCheckBox(QPainter &p, const ImageSpec &spec)
{
    const QRectF r(1.5, 1.5, spec.width - 3, spec.height - 3);
    const bool on = spec.state == State::Checked;
    p.setPen(QPen(on ? col::accent : col::lineHi, 1.2));
    p.setBrush(on ? alpha(col::accent, 60) : QColor(25, 29, 35));
    p.drawRoundedRect(r, 3, 3);
    if (on) {
        QPainterPath tick;
        tick.moveTo(r.left() + 3, r.center().y());
        tick.lineTo(r.left() + r.width() * 0.43, r.bottom() - 3.2);
        tick.lineTo(r.right() - 2.6, r.top() + 3);
        p.setPen(roundPen(col::white, 1.8));
        p.setBrush(Qt::NoBrush);
        p.drawPath(tick);
    }
}

// An on/off switch: a pill track with its knob left (off) or right (on).
void drawSwitch(QPainter &p, const ImageSpec &spec)
{
    const bool on = spec.state == State::Checked;
    const QRectF track(0.75, 0.75, spec.width - 1.5, spec.height - 1.5);
    const qreal radius = track.height() / 2;
    p.setPen(QPen(on ? col::accent : col::lineHi, 1.2));
    p.setBrush(on ? alpha(col::accent, 90) : QColor(30, 34, 42));
    p.drawRoundedRect(track, radius, radius);
    const qreal knob = track.height() - 4;
    const qreal x = on ? track.right() - 2 - knob : track.left() + 2;
    p.setPen(Qt::NoPen);
    p.setBrush(on ? col::white : col::textDim);
    p.drawEllipse(QRectF(x, track.top() + 2, knob, knob));
}

// The card behind a DPI stage's value: the selected stage's is larger and lit.
void drawStageCard(QPainter &p, const ImageSpec &spec)
{
    const bool on = spec.state == State::Checked;
    const QRectF r(0.75, 0.75, spec.width - 1.5, spec.height - 1.5);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, on ? QColor(20, 60, 78) : QColor(36, 41, 50));
    g.setColorAt(1, on ? QColor(12, 30, 40) : QColor(22, 25, 31));
    p.setPen(QPen(on ? col::accent : col::lineHi, on ? 1.6 : 1));
    p.setBrush(g);
    p.drawRoundedRect(r, 5, 5);
    p.setPen(QPen(alpha(col::white, on ? 60 : 22), 1));
    p.drawLine(QPointF(r.left() + 5, r.top() + 1.5), QPointF(r.right() - 5, r.top() + 1.5));
}

// Laid over a stage's colour: a rim and a soft sheen, the colour shows through.
void drawStageSwatch(QPainter &p, const ImageSpec &spec)
{
    const bool on = spec.state == State::Checked;
    const QRectF r(0.5, 0.5, spec.width - 1, spec.height - 1);
    QLinearGradient sheen(r.topLeft(), r.bottomLeft());
    sheen.setColorAt(0, alpha(col::white, 90));
    sheen.setColorAt(0.5, alpha(col::white, 0));
    sheen.setColorAt(1, QColor(0, 0, 0, 60));
    p.setPen(QPen(on ? col::white : QColor(0, 0, 0, 140), 1));
    p.setBrush(sheen);
    p.drawRoundedRect(r, 3, 3);
}

// The marker under the selected stage: an upward caret with a short bar.
void drawStageMarker(QPainter &p, const ImageSpec &spec)
{
    const QColor ink = spec.state == State::Hover ? col::white : col::accent;
    const qreal w = spec.width, h = spec.height;
    QPainterPath caret;
    caret.moveTo(w / 2, h * 0.3);
    caret.lineTo(w * 0.78, h * 0.72);
    caret.lineTo(w * 0.22, h * 0.72);
    caret.closeSubpath();
    p.setPen(QPen(alpha(ink, 70), 4));
    p.setBrush(Qt::NoBrush);
    p.drawPath(caret);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawPath(caret);
}

void drawSliderHandle(QPainter &p, const ImageSpec &spec)
{
    const QRectF r(0.5, 0.5, spec.width - 1, spec.height - 1);
    p.setPen(QPen(col::accentDeep, 1));
    p.setBrush(col::white);
    p.drawRoundedRect(r, 2, 2);
}

void drawPlusMinus(QPainter &p, const ImageSpec &spec, bool plus)
{
    const qreal w = spec.width, h = spec.height;
    p.setPen(Qt::NoPen);
    p.setBrush(col::text);
    const qreal bar = qMin<qreal>(h, 3);
    p.drawRoundedRect(QRectF(1, (h - bar) / 2, w - 2, bar), bar / 2, bar / 2);
    if (plus)
        p.drawRoundedRect(QRectF((w - bar) / 2, 1, bar, h - 2), bar / 2, bar / 2);
}

// A horizontal accent line that fades out at both ends.
void accentRule(QPainter &p, qreal x1, qreal x2, qreal y, qreal h, int peak = 255)
{
    QLinearGradient g(x1, 0, x2, 0);
    g.setColorAt(0, alpha(col::accent, 0));
    g.setColorAt(0.5, alpha(col::accent, peak));
    g.setColorAt(1, alpha(col::accent, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRect(QRectF(x1, y, x2 - x1, h));
}

void panelFill(QPainter &p, const QRectF &r, qreal radius)
{
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, QColor(30, 34, 42));
    g.setColorAt(1, QColor(16, 18, 23));
    p.setPen(QPen(col::line, 1));
    p.setBrush(g);
    if (radius > 0)
        p.drawRoundedRect(r, radius, radius);
    else
        p.drawRect(r);
}

void drawNoticePanel(QPainter &p, const QSizeF &size)
{
    panelFill(p, QRectF(0.5, 0.5, size.width() - 1, size.height() - 1), 0);
    accentRule(p, 0, size.width(), 0, 2);
    // faint corner ticks give the frameless box a finished edge
    p.setPen(QPen(alpha(col::accent, 110), 1.2));
    const qreal w = size.width(), h = size.height();
    p.drawLine(QPointF(1, h - 1.5), QPointF(14, h - 1.5));
    p.drawLine(QPointF(1.5, h - 1), QPointF(1.5, h - 14));
    p.drawLine(QPointF(w - 1, h - 1.5), QPointF(w - 14, h - 1.5));
    p.drawLine(QPointF(w - 1.5, h - 1), QPointF(w - 1.5, h - 14));
}

void drawPairPanel(QPainter &p, const QSizeF &size)
{
    const QRectF r(0.5, 0.5, size.width() - 1, size.height() - 1);
    panelFill(p, r, 12);
    p.save();
    QPainterPath clip;
    clip.addRoundedRect(r, 12, 12);
    p.setClipPath(clip);
    accentRule(p, 0, size.width(), 0, 2.5);
    QRadialGradient glow(QPointF(size.width() / 2, size.height() - 30), 170);
    glow.setColorAt(0, alpha(col::accent, 46));
    glow.setColorAt(1, alpha(col::accent, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawRect(r);
    p.restore();
}

void drawWordmark(QPainter &p, qreal x, qreal y)
{
    p.setPen(Qt::NoPen);
    p.setBrush(col::accent);
    p.drawPath(chevronV(QRectF(x, y + 3, 18, 13)));
    p.setPen(QColor(232, 238, 246));
    p.setFont(boldFont(15, 3.2));
    p.drawText(QPointF(x + 26, y + 15.5), QStringLiteral("VELMORAX"));
}

// Shared ground of the two full-size pages.
void pageBase(QPainter &p, const QSizeF &size, qreal barHeight)
{
    QLinearGradient g(0, 0, 0, size.height());
    g.setColorAt(0, col::bgTop);
    g.setColorAt(1, col::bgBottom);
    p.fillRect(QRectF(QPointF(0, 0), size), g);

    // faint diagonal texture
    p.setPen(QPen(alpha(col::white, 5), 1));
    for (int x = -int(size.height()); x < size.width(); x += 22)
        p.drawLine(QPointF(x, size.height()), QPointF(x + size.height(), 0));

    // top bar
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(14, 16, 20, 235));
    p.drawRect(QRectF(0, 0, size.width(), barHeight));
    p.setBrush(QColor(38, 43, 52));
    p.drawRect(QRectF(0, barHeight - 1, size.width(), 1));
    accentRule(p, 0, 260, barHeight - 1.5, 2);
    drawWordmark(p, 24, (barHeight - 20) / 2);

    // outer frame of the frameless window
    p.setPen(QPen(QColor(40, 45, 55), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, size.width() - 1, size.height() - 1));
}

void drawListPage(QPainter &p, const QSizeF &size)
{
    pageBase(p, size, 48);
    const qreal w = size.width(), h = size.height();

    QRadialGradient glow(QPointF(w / 2, 380), 500);
    glow.setColorAt(0, alpha(col::accent, 30));
    glow.setColorAt(0.6, alpha(col::accent, 8));
    glow.setColorAt(1, alpha(col::accent, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawRect(QRectF(0, 48, w, h - 48));

    // perspective floor below the device cards
    const QPointF vanish(w / 2, 430);
    for (int i = -14; i <= 14; ++i) {
        const QPointF bottom(w / 2 + i * 90, h);
        const qreal t = (568 - vanish.y()) / (h - vanish.y());
        const QPointF start = vanish + (bottom - vanish) * t;
        QLinearGradient lg(start, bottom);
        lg.setColorAt(0, alpha(col::accent, 0));
        lg.setColorAt(1, alpha(col::accent, 34));
        p.setPen(QPen(QBrush(lg), 1));
        p.drawLine(start, bottom);
    }
    for (int k = 0; k < 6; ++k) {
        const qreal y = 575 + 125 * (1 - qPow(0.62, k + 1)) / (1 - 0.62) * 0.42;
        p.setPen(QPen(alpha(col::accent, 8 + k * 4), 1));
        p.drawLine(QPointF(0, y), QPointF(w, y));
    }

    // corner brackets
    p.setPen(QPen(alpha(col::accent, 90), 1.5));
    p.drawLine(QPointF(14, h - 14), QPointF(54, h - 14));
    p.drawLine(QPointF(14, h - 14), QPointF(14, h - 54));
    p.drawLine(QPointF(w - 14, h - 14), QPointF(w - 54, h - 14));
    p.drawLine(QPointF(w - 14, h - 14), QPointF(w - 14, h - 54));
}

void drawDevicePage(QPainter &p, const QSizeF &size, bool summary)
{
    pageBase(p, size, 44);
    const qreal w = size.width(), h = size.height();

    // Content panel: exactly where the device page's stacked pages sit
    // (frame_4 at 140,90, 883 x 605), its right side kept inside the window
    // frame, so every page's controls lie on the panel and none crosses its
    // border.
    const QRectF pages(140, 90, 883, 605);
    const QRectF panel(pages.left() + 0.5, pages.top() + 0.5, qMin(pages.right(), w - 2) - pages.left() - 1,
                       qMin(pages.bottom(), h - 2) - pages.top() - 1);
    QPainterPath panelShape;
    panelShape.addRoundedRect(panel, 14, 14);
    QLinearGradient g(0, panel.top(), 0, panel.bottom());
    g.setColorAt(0, QColor(27, 31, 38, 200));
    g.setColorAt(1, QColor(15, 17, 21, 200));
    p.setPen(QPen(QColor(36, 41, 50), 1));
    p.setBrush(g);
    p.drawPath(panelShape);

    if (summary) {
        // Summary: a spotlight where the mouse picture sits (left) and a value
        // sheet on the right, one row per line of the panel.
        QRadialGradient spot(QPointF(336, 390), 260);
        spot.setColorAt(0, alpha(col::accent, 38));
        spot.setColorAt(1, alpha(col::accent, 0));
        p.save();
        p.setClipPath(panelShape);
        p.setPen(Qt::NoPen);
        p.setBrush(spot);
        p.drawRect(QRectF(panel.left() + 0.5, panel.top() + 0.5, 460, panel.height() - 1));
        p.restore();

        const QRectF sheet(592.5, 178.5, 356, 390);
        p.setPen(QPen(QColor(38, 44, 54), 1));
        p.setBrush(QColor(18, 21, 26, 200));
        p.drawRoundedRect(sheet, 12, 12);
        const int rows[] = {103, 155, 205, 255, 305, 376, 428};
        for (int i = 0; i < 7; ++i) {
            const qreal top = 90 + rows[i];
            p.setPen(Qt::NoPen);
            p.setBrush(i < 5 ? col::accent : col::warn);
            p.drawEllipse(QPointF(603, top + 15.5), 2.4, 2.4);
            p.setPen(QPen(QColor(44, 50, 61), 1));
            p.setBrush(QColor(27, 31, 38));
            p.drawRoundedRect(QRectF(836.5, top + 2.5, 86, 26), 6, 6);
            if (i < 6) {
                const qreal next = 90 + rows[i + 1];
                const qreal y = qRound((top + 31 + next) / 2) + 0.5;
                if (i == 4)
                    accentRule(p, 600, 940, y - 0.5, 1, 140);
                else {
                    p.setPen(QPen(QColor(34, 39, 48), 1));
                    p.drawLine(QPointF(604, y), QPointF(936, y));
                }
            }
        }
    }

    // The tray behind the seven page buttons (y 60 to 90) rests on the
    // panel's top edge; the status capsule on the right sits above it.
    accentRule(p, 740, 1000, panel.top() - 0.75, 1.5, 170);
    p.setPen(QPen(QColor(40, 46, 56), 1));
    p.setBrush(QColor(22, 26, 32, 245));
    p.drawRoundedRect(QRectF(230.5, 52.5, 508, 46), 23, 23);
    p.drawRoundedRect(QRectF(855.5, 48.5, 157, 40), 20, 20);
}

enum class Look { Lit, Dim, Ghost };

QPainterPath mouseOutline(int variant, const QRectF &b)
{
    auto pt = [&b](qreal x, qreal y) { return QPointF(b.left() + x * b.width(), b.top() + y * b.height()); };
    QPainterPath m;
    if (variant == 0) {
        // right-handed shape with a thumb flare on the left
        m.moveTo(pt(0.52, 0));
        m.cubicTo(pt(0.80, 0), pt(0.90, 0.14), pt(0.90, 0.34));
        m.cubicTo(pt(0.90, 0.50), pt(0.97, 0.68), pt(0.92, 0.83));
        m.cubicTo(pt(0.86, 0.97), pt(0.68, 1.0), pt(0.50, 1.0));
        m.cubicTo(pt(0.30, 1.0), pt(0.08, 0.95), pt(0.03, 0.80));
        m.cubicTo(pt(-0.01, 0.68), pt(0.07, 0.58), pt(0.08, 0.50));
        m.cubicTo(pt(0.09, 0.40), pt(0.06, 0.30), pt(0.10, 0.18));
        m.cubicTo(pt(0.15, 0.05), pt(0.30, 0), pt(0.52, 0));
    } else {
        // symmetric shape
        m.moveTo(pt(0.5, 0));
        m.cubicTo(pt(0.80, 0), pt(0.93, 0.12), pt(0.94, 0.34));
        m.cubicTo(pt(0.95, 0.52), pt(0.99, 0.70), pt(0.93, 0.84));
        m.cubicTo(pt(0.87, 0.96), pt(0.68, 1.0), pt(0.5, 1.0));
        m.cubicTo(pt(0.32, 1.0), pt(0.13, 0.96), pt(0.07, 0.84));
        m.cubicTo(pt(0.01, 0.70), pt(0.05, 0.52), pt(0.06, 0.34));
        m.cubicTo(pt(0.07, 0.12), pt(0.20, 0), pt(0.5, 0));
    }
    m.closeSubpath();
    return m;
}

void drawMouse(QPainter &p, const QRectF &b, int variant, Look look, bool shadow = true)
{
    auto pt = [&b](qreal x, qreal y) { return QPointF(b.left() + x * b.width(), b.top() + y * b.height()); };
    const QPainterPath body = mouseOutline(variant, b);
    const qreal unit = b.width() / 120.0;
    const qreal splitX = variant == 0 ? 0.52 : 0.5;

    if (look == Look::Ghost) {
        QPen dash(QColor(88, 96, 110), 2 * unit, Qt::DashLine, Qt::RoundCap);
        p.setPen(dash);
        p.setBrush(QColor(255, 255, 255, 6));
        p.drawPath(body);
        p.setPen(QColor(116, 126, 142));
        p.setFont(boldFont(int(74 * unit)));
        p.drawText(b.adjusted(0, b.height() * 0.12, 0, 0), Qt::AlignCenter, QStringLiteral("?"));
        return;
    }

    const bool lit = look == Look::Lit;
    p.setPen(Qt::NoPen);
    if (shadow) {
        QRadialGradient contact(pt(0.5, 1.02), b.width() * 0.62);
        contact.setColorAt(0, QColor(0, 0, 0, 150));
        contact.setColorAt(1, QColor(0, 0, 0, 0));
        p.setBrush(contact);
        p.drawEllipse(pt(0.5, 1.0), b.width() * 0.62, b.height() * 0.09);
    }

    // body shading
    QLinearGradient shade(b.topLeft(), b.topRight());
    if (lit) {
        shade.setColorAt(0, QColor(54, 61, 73));
        shade.setColorAt(0.5, QColor(27, 31, 38));
        shade.setColorAt(1, QColor(40, 46, 56));
    } else {
        shade.setColorAt(0, QColor(44, 47, 53));
        shade.setColorAt(0.5, QColor(25, 27, 31));
        shade.setColorAt(1, QColor(34, 37, 42));
    }
    p.setBrush(shade);
    p.drawPath(body);

    p.save();
    p.setClipPath(body);
    QRadialGradient hi(pt(0.34, 0.22), b.width() * 0.7);
    hi.setColorAt(0, QColor(255, 255, 255, lit ? 38 : 20));
    hi.setColorAt(1, QColor(255, 255, 255, 0));
    p.setBrush(hi);
    p.drawRect(b.adjusted(-4, -4, 4, 4));

    // button boundary and split
    QPainterPath seam;
    seam.moveTo(pt(0.0, 0.37));
    seam.cubicTo(pt(0.3, 0.44), pt(0.7, 0.44), pt(1.0, 0.37));
    seam.moveTo(pt(splitX, 0.0));
    seam.lineTo(pt(splitX, 0.405));
    p.setPen(QPen(QColor(8, 9, 11, 220), 2.2 * unit));
    p.setBrush(Qt::NoBrush);
    p.drawPath(seam);
    p.setPen(QPen(QColor(255, 255, 255, 16), 1 * unit));
    p.translate(0.9 * unit, 0.9 * unit);
    p.drawPath(seam);
    p.translate(-0.9 * unit, -0.9 * unit);

    // side buttons
    p.setPen(roundPen(QColor(10, 11, 14, 230), 4.2 * unit));
    const qreal sx = variant == 0 ? 0.115 : 0.10;
    p.drawLine(pt(sx, 0.27), pt(sx + 0.005, 0.345));
    p.drawLine(pt(sx + 0.006, 0.375), pt(sx + 0.01, 0.45));

    // underglow strip along the bottom
    QPainterPath strip;
    strip.moveTo(pt(0.17, 0.865));
    strip.cubicTo(pt(0.30, 0.965), pt(0.70, 0.965), pt(0.83, 0.865));
    const QColor stripColour = lit ? col::accent : QColor(70, 76, 86);
    if (lit) {
        p.setPen(roundPen(alpha(col::accent, 70), 7 * unit));
        p.drawPath(strip);
    }
    p.setPen(roundPen(stripColour, 2.2 * unit));
    p.drawPath(strip);
    p.restore();

    // scroll wheel
    const QRectF wheel(pt(splitX - 0.04, 0.09), pt(splitX + 0.04, 0.25));
    p.setPen(QPen(QColor(8, 9, 11), 1.2 * unit));
    QLinearGradient wg(wheel.topLeft(), wheel.bottomLeft());
    wg.setColorAt(0, QColor(70, 76, 88));
    wg.setColorAt(1, QColor(30, 33, 39));
    p.setBrush(wg);
    p.drawRoundedRect(wheel, wheel.width() / 2, wheel.width() / 2);
    if (lit) {
        p.setPen(roundPen(col::accent, 1.4 * unit));
        p.drawLine(QPointF(wheel.center().x(), wheel.top() + 5 * unit),
                   QPointF(wheel.center().x(), wheel.bottom() - 5 * unit));
    }

    // palm mark
    p.setPen(Qt::NoPen);
    p.setBrush(lit ? alpha(col::accent, 230) : QColor(78, 84, 96));
    p.drawPath(chevronV(QRectF(pt(0.42, 0.66), pt(0.58 + (splitX - 0.5), 0.74))));

    // rim light
    QLinearGradient rim(b.topRight(), b.bottomLeft());
    rim.setColorAt(0, lit ? alpha(col::accent, 200) : QColor(96, 102, 112, 150));
    rim.setColorAt(0.5, lit ? alpha(col::accent, 40) : QColor(70, 74, 82, 60));
    rim.setColorAt(1, QColor(120, 130, 146, lit ? 90 : 50));
    p.setPen(QPen(QBrush(rim), 1.6 * unit));
    p.setBrush(Qt::NoBrush);
    p.drawPath(body);
}

void drawDeviceCard(QPainter &p, const ImageSpec &spec)
{
    const QRectF card(8.5, 8.5, spec.width - 17, spec.height - 17);
    const bool unknown = spec.variant == 2;
    const bool online = spec.state == State::Checked;

    QLinearGradient g(card.topLeft(), card.bottomLeft());
    g.setColorAt(0, QColor(30, 35, 43, 235));
    g.setColorAt(1, QColor(14, 16, 20, 235));
    p.setBrush(g);
    if (online) {
        QLinearGradient rim(card.topLeft(), card.bottomRight());
        rim.setColorAt(0, col::accent);
        rim.setColorAt(0.55, alpha(col::accent, 70));
        rim.setColorAt(1, alpha(col::accent, 160));
        p.setPen(QPen(QBrush(rim), 1.6));
    } else if (unknown) {
        p.setPen(QPen(QColor(70, 78, 90), 1.4, Qt::DashLine));
    } else {
        p.setPen(QPen(QColor(46, 52, 62), 1.3));
    }
    p.drawRoundedRect(card, 18, 18);

    p.save();
    QPainterPath clip;
    clip.addRoundedRect(card, 18, 18);
    p.setClipPath(clip);
    if (online) {
        QRadialGradient glow(QPointF(card.center().x(), 270), 150);
        glow.setColorAt(0, alpha(col::accent, 70));
        glow.setColorAt(1, alpha(col::accent, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(glow);
        p.drawRect(card);
        accentRule(p, card.left(), card.right(), card.top(), 2);
    }
    p.restore();

    const QRectF mouseBox(card.center().x() - 62, 62, 124, 196);
    if (online) {
        QRadialGradient pool(QPointF(card.center().x(), 272), 100);
        pool.setColorAt(0, alpha(col::accent, 120));
        pool.setColorAt(1, alpha(col::accent, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(pool);
        p.drawEllipse(QPointF(card.center().x(), 272), 100, 20);
    }
    drawMouse(p, mouseBox, unknown ? 1 : spec.variant, unknown ? Look::Ghost : online ? Look::Lit : Look::Dim);

    // model plate: a fading rule with a row of status pips
    const qreal y = 306;
    QLinearGradient rule(60, 0, card.right() - 52, 0);
    const QColor base = online ? col::accent : QColor(70, 78, 90);
    rule.setColorAt(0, alpha(base, 0));
    rule.setColorAt(0.5, alpha(base, online ? 200 : 140));
    rule.setColorAt(1, alpha(base, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(rule);
    p.drawRect(QRectF(60, y, card.right() - 112, 1.5));
    for (int i = 0; i < 3; ++i) {
        p.setBrush(i == 1 ? base : alpha(base, 120));
        p.drawEllipse(QPointF(card.center().x() - 12 + i * 12, y + 16), 2.2, 2.2);
    }
}

// The angle frame's dial: an arc from -30 to +30 degrees around the bottom
// centre, with a tick every 10 degrees and a brighter one at 0.
void drawAngleDial(QPainter &p, const QSizeF &size)
{
    const QPointF centre(size.width() / 2, size.height() * 0.78);
    const qreal radius = size.height() * 0.68;
    QRadialGradient pool(centre, radius);
    pool.setColorAt(0, alpha(col::accent, 50));
    pool.setColorAt(1, alpha(col::accent, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(pool);
    p.drawEllipse(centre, radius, radius);
    const QRectF arc(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(alpha(col::accent, 170), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(arc, 60 * 16, 60 * 16);
    for (int a = -30; a <= 30; a += 10) {
        const qreal r = qDegreesToRadians(90.0 - a);
        const QPointF dir(qCos(r), -qSin(r));
        const qreal inner = radius - (a == 0 ? 12 : 7);
        p.setPen(QPen(a == 0 ? col::white : alpha(col::text, 160), a == 0 ? 2 : 1.3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(centre + dir * inner, centre + dir * radius);
    }
    p.setPen(QPen(alpha(col::line, 200), 1, Qt::DashLine));
    p.drawLine(centre, centre - QPointF(0, radius - 14));
}

// The picture that turns with the angle: the mouse seen from above.
void drawAngleMouse(QPainter &p, const QSizeF &size)
{
    drawMouse(p, QRectF(6, 4, size.width() - 12, size.height() - 8), 0, Look::Lit, false);
}

void drawMouseHero(QPainter &p, const QSizeF &size)
{
    const QPointF c(size.width() / 2, 166);
    // platform ring
    const QPointF base(size.width() / 2, 318);
    QRadialGradient pool(base, 160);
    pool.setColorAt(0, alpha(col::accent, 90));
    pool.setColorAt(1, alpha(col::accent, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(pool);
    p.drawEllipse(base, 170, 30);
    p.setPen(QPen(alpha(col::accent, 150), 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(base, 140, 22);
    p.setPen(QPen(alpha(col::accent, 60), 1));
    p.drawEllipse(base, 176, 30);

    // contact shadow on the platform, under the tilted mouse
    QRadialGradient contact(QPointF(base.x() + 6, base.y() - 14), 110);
    contact.setColorAt(0, QColor(0, 0, 0, 170));
    contact.setColorAt(1, QColor(0, 0, 0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(contact);
    p.drawEllipse(QPointF(base.x() + 6, base.y() - 14), 110, 22);

    p.save();
    p.translate(c);
    p.rotate(-9);
    drawMouse(p, QRectF(-84, -134, 168, 268), 0, Look::Lit, false);
    p.restore();
}

// The colour board: the hues left to right, lighter at the top and darker at
// the bottom, so a press picks a colour from it.
void drawColourBoard(QPainter &p, const QSizeF &size)
{
    const QRectF r(0, 0, size.width(), size.height());
    QLinearGradient hue(r.topLeft(), r.topRight());
    for (int i = 0; i <= 6; ++i)
        hue.setColorAt(i / 6.0, QColor::fromHsv((i * 60) % 360, 255, 255));
    p.fillRect(r, hue);
    QLinearGradient shade(r.topLeft(), r.bottomLeft());
    shade.setColorAt(0, QColor(255, 255, 255, 90));
    shade.setColorAt(0.35, QColor(255, 255, 255, 0));
    shade.setColorAt(0.65, QColor(0, 0, 0, 0));
    shade.setColorAt(1, QColor(0, 0, 0, 110));
    p.fillRect(r, shade);
}

// A preset colour button: the preset's colour in a rounded chip.
void drawColourChip(QPainter &p, const ImageSpec &spec)
{
    static const int kPresets[14][3] = {
        {255, 0, 0},   {0, 255, 255},  {0, 255, 0},   {255, 0, 255},   {255, 255, 0},  {255, 80, 0},   {0, 0, 255},
        {227, 0, 127}, {46, 166, 223}, {96, 25, 133}, {255, 255, 255}, {139, 178, 36}, {255, 155, 51}, {208, 113, 173},
    };
    const int i = qBound(0, spec.variant, 13);
    const QRectF r(1, 1, spec.width - 2, spec.height - 2);
    p.setPen(QPen(col::lineHi, 1));
    p.setBrush(QColor(kPresets[i][0], kPresets[i][1], kPresets[i][2]));
    p.drawRoundedRect(r, 4, 4);
    QLinearGradient sheen(r.topLeft(), r.bottomLeft());
    sheen.setColorAt(0, alpha(col::white, 70));
    sheen.setColorAt(0.5, alpha(col::white, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(sheen);
    p.drawRoundedRect(r, 4, 4);
}

// The swatch before a colour is shown: an empty frame crossed out.
void drawEmptySwatch(QPainter &p, const QSizeF &size)
{
    const QRectF r(1, 1, size.width() - 2, size.height() - 2);
    p.setPen(QPen(col::lineHi, 2));
    p.setBrush(col::surface);
    p.drawRoundedRect(r, 4, 4);
    p.setPen(roundPen(col::textDim, 1.5));
    p.drawLine(r.bottomLeft() + QPointF(8, -8), r.topRight() + QPointF(-8, 8));
}

// The receiver with its three indicator LEDs.
void drawReceiverPicture(QPainter &p, const QSizeF &size)
{
    const qreal w = size.width(), h = size.height();
    const QRectF plug(w * 0.38, h * 0.06, w * 0.24, h * 0.2);
    p.setPen(QPen(col::lineHi, 1.5));
    p.setBrush(QColor(150, 158, 172));
    p.drawRect(plug);
    const QRectF body(w * 0.28, h * 0.26, w * 0.44, h * 0.66);
    QLinearGradient g(body.topLeft(), body.bottomLeft());
    g.setColorAt(0, QColor(44, 50, 61));
    g.setColorAt(1, QColor(22, 25, 31));
    p.setPen(QPen(col::lineHi, 1.5));
    p.setBrush(g);
    p.drawRoundedRect(body, 10, 10);
    const QColor leds[3] = {col::success, col::warn, col::accent};
    for (int i = 0; i < 3; ++i) {
        const QPointF c(body.center().x(), body.top() + body.height() * (0.25 + 0.25 * i));
        QRadialGradient glow(c, 12);
        glow.setColorAt(0, alpha(leds[i], 160));
        glow.setColorAt(1, alpha(leds[i], 0));
        p.setPen(Qt::NoPen);
        p.setBrush(glow);
        p.drawEllipse(c, 12, 12);
        p.setBrush(leds[i]);
        p.drawEllipse(c, 4, 4);
    }
}

// A legend bar: one band per LED colour, top to bottom, in the order the
// legend's texts stand.
void drawLegendBar(QPainter &p, const ImageSpec &spec)
{
    static const QColor four[4] = {QColor(0, 255, 0), QColor(255, 255, 0), QColor(255, 128, 0), QColor(255, 0, 0)};
    static const QColor seven[7] = {QColor(115, 251, 253), QColor(96, 252, 46),  QColor(240, 46, 250),
                                    QColor(247, 168, 31),  QColor(252, 255, 41), QColor(49, 0, 253),
                                    QColor(244, 39, 23)};
    const int count = spec.variant == 7 ? 7 : 4;
    const QColor *colours = count == 7 ? seven : four;
    const qreal band = qreal(spec.height) / count;
    const qreal x = spec.width * 0.25, w = spec.width * 0.5;
    for (int i = 0; i < count; ++i) {
        p.setPen(Qt::NoPen);
        p.setBrush(colours[i]);
        p.drawRoundedRect(QRectF(x, i * band + 3, w, band - 6), w / 2, w / 2);
    }
}

bool drawImage(const ImageSpec &spec, QImage &img)
{
    img = QImage(spec.width, spec.height, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const QSizeF size(spec.width, spec.height);

    switch (spec.shape) {
    case Shape::Battery:
        drawBattery(p);
        break;
    case Shape::Bolt:
        drawBolt(p);
        break;
    case Shape::Dot:
        drawDot(p, inkFor(spec.state, spec.tone));
        break;
    case Shape::Logo:
        drawLogo(p, size);
        break;
    case Shape::Badge:
        drawBadge(p, spec);
        break;
    case Shape::PushButton:
        drawPushButton(p, spec);
        break;
    case Shape::ComboField:
        drawComboField(p, size);
        break;
    case Shape::ComboPopup:
        drawComboPopup(p, size);
        break;
    case Shape::Tip:
        drawTip(p, size);
        break;
    case Shape::CheckBox:
        drawCheckBox(p, spec);
        break;
    case Shape::Switch:
        drawSwitch(p, spec);
        break;
    case Shape::StageCard:
        drawStageCard(p, spec);
        break;
    case Shape::StageSwatch:
        drawStageSwatch(p, spec);
        break;
    case Shape::StageMarker:
        drawStageMarker(p, spec);
        break;
    case Shape::SliderHandle:
        drawSliderHandle(p, spec);
        break;
    case Shape::Plus:
        drawPlusMinus(p, spec, true);
        break;
    case Shape::Minus:
        drawPlusMinus(p, spec, false);
        break;
    case Shape::NoticePanel:
        drawNoticePanel(p, size);
        break;
    case Shape::PairPanel:
        drawPairPanel(p, size);
        break;
    case Shape::ListPage:
        drawListPage(p, size);
        break;
    case Shape::DevicePage:
        drawDevicePage(p, size, false);
        break;
    case Shape::SummaryPage:
        drawDevicePage(p, size, true);
        break;
    case Shape::DeviceCard:
        drawDeviceCard(p, spec);
        break;
    case Shape::MouseHero:
        drawMouseHero(p, size);
        break;
    case Shape::AngleDial:
        drawAngleDial(p, size);
        break;
    case Shape::AngleMouse:
        drawAngleMouse(p, size);
        break;
    case Shape::ColourBoard:
        drawColourBoard(p, size);
        break;
    case Shape::ColourChip:
        drawColourChip(p, spec);
        break;
    case Shape::EmptySwatch:
        drawEmptySwatch(p, size);
        break;
    case Shape::ReceiverPicture:
        drawReceiverPicture(p, size);
        break;
    case Shape::LegendBar:
        drawLegendBar(p, spec);
        break;
    default:
        drawGlyph(p, spec);
        break;
    }
    return p.end();
}

// One sheet of every image on a mid-dark ground, small ones enlarged, for
// looking the set over in one picture.
bool writeContactSheet(const QString &outRoot, const QString &sheetPath)
{
    const int sheetWidth = 1600, pad = 14, labelHeight = 14;
    struct Cell
    {
        QImage img;
        QString label;
    };
    QVector<Cell> cells;
    for (const ImageSpec &spec : kImages) {
        QImage img(outRoot + "/Picture/" + spec.folder + "/" + spec.name);
        if (img.isNull())
            return false;
        qreal scale = 1;
        if (img.width() <= 64 && img.height() <= 64)
            scale = 3;
        else if (img.width() <= 160)
            scale = 1.5;
        else if (img.width() > 500)
            scale = 480.0 / img.width();
        img = img.scaled(int(img.width() * scale), int(img.height() * scale), Qt::KeepAspectRatio,
                         Qt::SmoothTransformation);
        cells.push_back({img, QString("%1/%2").arg(spec.folder, spec.name)});
    }
    // simple row packing
    QVector<QPoint> pos;
    int x = pad, y = pad, rowHeight = 0;
    for (const Cell &c : cells) {
        const int cw = qMax(c.img.width(), 120);
        if (x + cw > sheetWidth - pad) {
            x = pad;
            y += rowHeight + labelHeight + pad;
            rowHeight = 0;
        }
        pos.push_back(QPoint(x, y));
        x += cw + pad;
        rowHeight = qMax(rowHeight, c.img.height());
    }
    const int height = y + rowHeight + labelHeight + pad;
    QImage sheet(sheetWidth, height, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(QColor(24, 26, 30));
    QPainter p(&sheet);
    p.setFont(QFont(QStringLiteral("DejaVu Sans"), 7));
    for (int i = 0; i < cells.size(); ++i) {
        const QRect r(pos[i], cells[i].img.size());
        p.fillRect(r, QColor(36, 40, 46));
        p.drawImage(pos[i], cells[i].img);
        p.setPen(QColor(150, 156, 166));
        p.drawText(QPoint(pos[i].x(), pos[i].y() + cells[i].img.height() + 11), cells[i].label);
    }
    p.end();
    return sheet.save(sheetPath);
}

} // namespace

int main(int argc, char **argv)
{
    // The build runs this without a display.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: imagegen <output folder> [--sheet <file.png>]\n");
        return 2;
    }
    const QString outRoot = args.at(1);
    int failures = 0;
    for (const ImageSpec &spec : kImages) {
        const QString dir = outRoot + "/Picture/" + spec.folder;
        QImage img;
        if (!QDir().mkpath(dir) || !drawImage(spec, img) || !img.save(dir + "/" + spec.name, "PNG")) {
            std::fprintf(stderr, "imagegen: cannot write %s/%s\n", spec.folder, spec.name);
            ++failures;
        }
    }
    const int sheetArg = args.indexOf(QStringLiteral("--sheet"));
    if (sheetArg > 0 && sheetArg + 1 < args.size() && !writeContactSheet(outRoot, args.at(sheetArg + 1))) {
        std::fprintf(stderr, "imagegen: cannot write the contact sheet\n");
        ++failures;
    }
    return failures == 0 ? 0 : 1;
}
