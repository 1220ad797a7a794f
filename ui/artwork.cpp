#include "artwork.h"

#include <QFont>
#include <QGuiApplication>
#include <QHash>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>
#include <array>
#include <functional>

namespace {

// The palette shared by every picture.
const QColor kBlue(0x1F, 0x4E, 0x79);
const QColor kBlueMid(0x2E, 0x6D, 0xA4);
const QColor kBlueLight(0xD6, 0xE4, 0xF0);
const QColor kBluePale(0xEE, 0xF4, 0xFA);
const QColor kOrange(0xF2, 0x8C, 0x28);
const QColor kOrangeDark(0xC9, 0x6A, 0x12);
const QColor kRed(0xC8, 0x46, 0x3D);
const QColor kInk(0x33, 0x40, 0x4D);
const QColor kWhite(0xFF, 0xFF, 0xFF);

using Painter = std::function<void(QPainter &)>;

QPen pen(const QColor &colour, qreal width = 1.6)
{
    QPen p(colour, width);
    p.setCapStyle(Qt::RoundCap);
    p.setJoinStyle(Qt::RoundJoin);
    return p;
}

qreal screenScale()
{
    const qreal dpr = qApp ? qApp->devicePixelRatio() : 1.0;
    return qMax<qreal>(1.0, dpr);
}

// Renders a picture of the given logical size for the current screens.
QPixmap render(const QSize &size, const Painter &paint, qreal dpr = screenScale())
{
    QPixmap pixmap(size * dpr);
    pixmap.setDevicePixelRatio(dpr);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    paint(p);
    return pixmap;
}

// A text as a shape fitted into a box, so that it looks the same whatever
// the font's metrics.
QPainterPath textShape(const QString &text, const QRectF &box, bool bold = true, bool italic = false, Qt::Alignment align = Qt::AlignCenter)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(100);
    font.setBold(bold);
    font.setItalic(italic);
    QPainterPath path;
    path.addText(0, 0, font, text);
    const QRectF b = path.boundingRect();
    const qreal s = qMin(box.width() / b.width(), box.height() / b.height());
    QTransform t;
    qreal x = box.left() + (box.width() - b.width() * s) / 2;
    if (align & Qt::AlignLeft)
        x = box.left();
    else if (align & Qt::AlignRight)
        x = box.right() - b.width() * s;
    t.translate(x, box.top() + (box.height() - b.height() * s) / 2);
    t.scale(s, s);
    t.translate(-b.left(), -b.top());
    return t.map(path);
}

// ---------------------------------------------------------------------------
// Parts of the icons, in a 32 by 32 grid.

void page(QPainter &p, const QRectF &r = QRectF(7, 3.5, 18, 25), bool lines = true)
{
    const qreal f = 6;
    QPainterPath body;
    body.moveTo(r.left(), r.top());
    body.lineTo(r.right() - f, r.top());
    body.lineTo(r.right(), r.top() + f);
    body.lineTo(r.right(), r.bottom());
    body.lineTo(r.left(), r.bottom());
    body.closeSubpath();
    p.setPen(pen(kBlue));
    p.setBrush(kWhite);
    p.drawPath(body);
    QPainterPath fold;
    fold.moveTo(r.right() - f, r.top());
    fold.lineTo(r.right() - f, r.top() + f);
    fold.lineTo(r.right(), r.top() + f);
    fold.closeSubpath();
    p.setBrush(kBlueLight);
    p.drawPath(fold);
    if (lines) {
        p.setPen(pen(kBlueLight, 1.8));
        for (qreal y = r.top() + f + 4; y < r.bottom() - 3; y += 4)
            p.drawLine(QPointF(r.left() + 3.5, y), QPointF(r.right() - 3.5, y));
    }
}

void badge(QPainter &p, const QPointF &c, const QColor &fill, qreal radius = 6.5)
{
    p.setPen(pen(kWhite, 1.5));
    p.setBrush(fill);
    p.drawEllipse(c, radius, radius);
}

void plusBadge(QPainter &p, const QPointF &c = QPointF(24, 24))
{
    badge(p, c, kOrange);
    p.setPen(pen(kWhite, 2.2));
    p.drawLine(c + QPointF(-3, 0), c + QPointF(3, 0));
    p.drawLine(c + QPointF(0, -3), c + QPointF(0, 3));
}

void crossBadge(QPainter &p, const QPointF &c = QPointF(24, 24))
{
    badge(p, c, kRed);
    p.setPen(pen(kWhite, 2.2));
    p.drawLine(c + QPointF(-2.6, -2.6), c + QPointF(2.6, 2.6));
    p.drawLine(c + QPointF(-2.6, 2.6), c + QPointF(2.6, -2.6));
}

void checkBadge(QPainter &p, const QPointF &c = QPointF(24, 24))
{
    badge(p, c, kOrange);
    QPainterPath check;
    check.moveTo(c + QPointF(-3.2, 0.2));
    check.lineTo(c + QPointF(-0.8, 2.6));
    check.lineTo(c + QPointF(3.4, -2.2));
    p.setPen(pen(kWhite, 2.1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(check);
}

// The question mark of the program's emblem, as a stroke and a dot.
QPainterPath questionStroke(const QPointF &o, qreal s)
{
    QPainterPath q;
    auto pt = [&](qreal x, qreal y) { return o + QPointF(x * s, y * s); };
    q.moveTo(pt(-3, -2.4));
    q.cubicTo(pt(-3, -4.2), pt(-1.7, -5.4), pt(0, -5.4));
    q.cubicTo(pt(1.7, -5.4), pt(3, -4.2), pt(3, -2.6));
    q.cubicTo(pt(3, -1.1), pt(1.9, -0.5), pt(1, 0.1));
    q.cubicTo(pt(0.3, 0.6), pt(0, 1.1), pt(0, 2.1));
    return q;
}

void questionMark(QPainter &p, const QPointF &o, qreal s, const QColor &colour)
{
    p.setPen(pen(colour, 2.4 * s));
    p.setBrush(Qt::NoBrush);
    p.drawPath(questionStroke(o, s));
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(o + QPointF(0, 5.2 * s), 1.45 * s, 1.45 * s);
}

void bubble(QPainter &p, const QRectF &r = QRectF(3.5, 4.5, 21, 16))
{
    QPainterPath b;
    b.addRoundedRect(r, 4.5, 4.5);
    QPainterPath tail;
    tail.moveTo(r.left() + 4, r.bottom() - 1);
    tail.lineTo(r.left() + 3, r.bottom() + 6);
    tail.lineTo(r.left() + 10, r.bottom() - 1);
    tail.closeSubpath();
    p.setPen(pen(kBlue));
    p.setBrush(kWhite);
    p.drawPath(b.united(tail));
    questionMark(p, QPointF(r.center().x(), r.center().y() - 1.2), 0.85, kBlue);
}

void arrow(QPainter &p, const QPointF &from, const QPointF &to, const QColor &colour, qreal width = 2.4, qreal head = 4.5)
{
    p.setPen(pen(colour, width));
    p.setBrush(Qt::NoBrush);
    const QLineF line(from, to);
    const QLineF unit = line.unitVector();
    const QPointF d(unit.dx(), unit.dy());
    const QPointF n(-d.y(), d.x());
    p.drawLine(from, to - d * 1.0);
    QPainterPath h;
    h.moveTo(to - d * head + n * head);
    h.lineTo(to);
    h.lineTo(to - d * head - n * head);
    p.drawPath(h);
}

void door(QPainter &p)
{
    p.setPen(pen(kBlue));
    p.setBrush(kBluePale);
    p.drawRoundedRect(QRectF(5, 4, 15, 24), 1.5, 1.5);
    QPainterPath leaf;
    leaf.moveTo(5, 4);
    leaf.lineTo(14, 7);
    leaf.lineTo(14, 30);
    leaf.lineTo(5, 28);
    leaf.closeSubpath();
    p.setBrush(kBlueMid);
    p.drawPath(leaf);
    p.setPen(Qt::NoPen);
    p.setBrush(kWhite);
    p.drawEllipse(QPointF(11.6, 17.5), 1.1, 1.1);
    arrow(p, QPointF(17, 16), QPointF(29, 16), kOrange, 2.6, 4.2);
}

void textLines(QPainter &p, const QList<QPair<qreal, qreal>> &spans, qreal top = 7, qreal step = 5)
{
    p.setPen(pen(kBlue, 2.4));
    qreal y = top;
    for (const auto &span : spans) {
        p.drawLine(QPointF(span.first, y), QPointF(span.second, y));
        y += step;
    }
}

void glyph(QPainter &p, const QString &text, const QRectF &box, bool bold, bool italic, const QColor &colour)
{
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(textShape(text, box, bold, italic));
}

void globe(QPainter &p, const QPointF &c, qreal r)
{
    p.setPen(pen(kBlue));
    p.setBrush(kBlueLight);
    p.drawEllipse(c, r, r);
    p.setBrush(Qt::NoBrush);
    p.setPen(pen(kBlue, 1.2));
    p.drawEllipse(c, r * 0.45, r);
    p.drawLine(c - QPointF(0, r), c + QPointF(0, r));
    p.drawLine(c - QPointF(r, 0), c + QPointF(r, 0));
    const qreal y = r * 0.5;
    const qreal x = qSqrt(r * r - y * y);
    p.drawLine(c + QPointF(-x, -y), c + QPointF(x, -y));
    p.drawLine(c + QPointF(-x, y), c + QPointF(x, y));
}

void chainLink(QPainter &p, const QPointF &c, qreal angle, const QColor &colour)
{
    p.save();
    p.translate(c);
    p.rotate(angle);
    p.setPen(pen(colour, 2.6));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(-6.8, -3.6, 13.6, 7.2), 3.6, 3.6);
    p.restore();
}

void fontSizeIcon(QPainter &p, bool larger)
{
    glyph(p, QStringLiteral("A"), larger ? QRectF(3, 6, 18, 22) : QRectF(5, 12, 12, 16), true, false, kBlue);
    QPainterPath tri;
    if (larger) {
        tri.moveTo(20, 13);
        tri.lineTo(25, 6);
        tri.lineTo(30, 13);
    } else {
        tri.moveTo(20, 7);
        tri.lineTo(25, 14);
        tri.lineTo(30, 7);
    }
    tri.closeSubpath();
    p.setPen(pen(kOrangeDark, 1.0));
    p.setBrush(kOrange);
    p.drawPath(tri);
}

void scissors(QPainter &p)
{
    p.setPen(pen(kBlue, 2.2));
    p.drawLine(QPointF(9, 4), QPointF(20.5, 20));
    p.drawLine(QPointF(23, 4), QPointF(11.5, 20));
    p.setPen(pen(kOrangeDark, 1.4));
    p.setBrush(kOrange);
    p.drawEllipse(QPointF(9, 24), 4.5, 4.5);
    p.drawEllipse(QPointF(23, 24), 4.5, 4.5);
    p.setBrush(kWhite);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(9, 24), 2.2, 2.2);
    p.drawEllipse(QPointF(23, 24), 2.2, 2.2);
    p.setBrush(kBlue);
    p.drawEllipse(QPointF(16, 13.8), 1.3, 1.3);
}

void clipboard(QPainter &p)
{
    p.setPen(pen(kOrangeDark, 1.4));
    p.setBrush(kOrange);
    p.drawRoundedRect(QRectF(4.5, 5, 19, 24), 2.5, 2.5);
    p.setPen(pen(kBlue, 1.4));
    p.setBrush(kBlueMid);
    p.drawRoundedRect(QRectF(9.5, 2.5, 9, 5), 1.5, 1.5);
    page(p, QRectF(13, 11, 15, 19));
}

void magnifier(QPainter &p)
{
    page(p, QRectF(4, 3.5, 17, 23));
    p.setPen(pen(kOrangeDark, 1.0));
    p.setBrush(kOrange);
    QPainterPath handle;
    handle.moveTo(22.5, 21.5);
    handle.lineTo(29.5, 28.5);
    p.setPen(pen(kOrange, 4.0));
    p.drawPath(handle);
    p.setPen(pen(kBlue, 2.2));
    QRadialGradient glass(QPointF(17, 15), 7);
    glass.setColorAt(0, QColor(255, 255, 255, 235));
    glass.setColorAt(1, QColor(0xD6, 0xE4, 0xF0, 235));
    p.setBrush(glass);
    p.drawEllipse(QPointF(18, 17), 6.5, 6.5);
    p.setPen(pen(kWhite, 1.3));
    p.drawArc(QRectF(14, 13, 8, 8), 100 * 16, 70 * 16);
}

void folder(QPainter &p)
{
    QPainterPath back;
    back.moveTo(3, 8);
    back.lineTo(3, 26);
    back.lineTo(26, 26);
    back.lineTo(26, 10.5);
    back.lineTo(14, 10.5);
    back.lineTo(11.5, 7);
    back.lineTo(4.5, 7);
    back.closeSubpath();
    p.setPen(pen(kBlue));
    p.setBrush(kBlueMid);
    p.drawPath(back);
    page(p, QRectF(8, 5, 15, 15), false);
    QPainterPath front;
    front.moveTo(3, 26);
    front.lineTo(7.5, 14.5);
    front.lineTo(30, 14.5);
    front.lineTo(26, 26);
    front.closeSubpath();
    p.setPen(pen(kOrangeDark, 1.4));
    p.setBrush(kOrange);
    p.drawPath(front);
}

void floppy(QPainter &p)
{
    QPainterPath body;
    body.moveTo(5.5, 4);
    body.lineTo(23.5, 4);
    body.lineTo(27.5, 8);
    body.lineTo(27.5, 26);
    body.quadTo(27.5, 28, 25.5, 28);
    body.lineTo(6.5, 28);
    body.quadTo(4.5, 28, 4.5, 26);
    body.lineTo(4.5, 5);
    body.quadTo(4.5, 4, 5.5, 4);
    p.setPen(pen(kBlue));
    p.setBrush(kBlue);
    p.drawPath(body);
    p.setPen(Qt::NoPen);
    p.setBrush(kBlueLight);
    p.drawRoundedRect(QRectF(9, 4.8, 12, 8), 1, 1);
    p.setBrush(kBlue);
    p.drawRect(QRectF(17, 6.2, 2.4, 5));
    p.setBrush(kWhite);
    p.drawRoundedRect(QRectF(8, 16, 16, 10), 1.2, 1.2);
    p.setPen(pen(kOrange, 1.8));
    p.drawLine(QPointF(10.5, 19.5), QPointF(21.5, 19.5));
    p.setPen(pen(kBlueLight, 1.6));
    p.drawLine(QPointF(10.5, 23), QPointF(18.5, 23));
}

void htmlExport(QPainter &p)
{
    page(p, QRectF(4, 3.5, 19, 25), false);
    p.setPen(pen(kBlue, 2.0));
    p.setBrush(Qt::NoBrush);
    QPainterPath code;
    code.moveTo(10, 12.5);
    code.lineTo(7.5, 15.5);
    code.lineTo(10, 18.5);
    code.moveTo(16.5, 12.5);
    code.lineTo(19, 15.5);
    code.lineTo(16.5, 18.5);
    code.moveTo(14.3, 11.5);
    code.lineTo(12.3, 19.5);
    p.drawPath(code);
    badge(p, QPointF(24, 24), kOrange);
    arrow(p, QPointF(20.6, 24), QPointF(27.6, 24), kWhite, 1.9, 2.6);
}

void circleGlyph(QPainter &p, bool question)
{
    QLinearGradient g(0, 3, 0, 29);
    g.setColorAt(0, kBlueMid);
    g.setColorAt(1, kBlue);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(QPointF(16, 16), 13, 13);
    if (question) {
        questionMark(p, QPointF(16, 14.2), 1.35, kWhite);
        return;
    }
    p.setBrush(kWhite);
    p.drawEllipse(QPointF(16, 9.3), 2, 2);
    p.drawRoundedRect(QRectF(14.2, 13, 3.6, 11.5), 1.6, 1.6);
}

void pencil(QPainter &p)
{
    p.save();
    p.translate(22, 20);
    p.rotate(45);
    p.setPen(pen(kOrangeDark, 1.2));
    p.setBrush(kOrange);
    p.drawRoundedRect(QRectF(-2.8, -10, 5.6, 13), 1, 1);
    QPainterPath tip;
    tip.moveTo(-2.8, 3);
    tip.lineTo(0, 8);
    tip.lineTo(2.8, 3);
    tip.closeSubpath();
    p.setBrush(QColor(0xF6, 0xD7, 0xB0));
    p.drawPath(tip);
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    QPainterPath lead;
    lead.moveTo(-0.9, 6.4);
    lead.lineTo(0, 8);
    lead.lineTo(0.9, 6.4);
    lead.closeSubpath();
    p.drawPath(lead);
    p.setBrush(kBlue);
    p.drawRect(QRectF(-2.8, -10, 5.6, 2.6));
    p.restore();
}

void boldArrow(QPainter &p, bool up)
{
    QPainterPath a;
    a.moveTo(16, 4);
    a.lineTo(27, 16);
    a.lineTo(20.5, 16);
    a.lineTo(20.5, 27);
    a.lineTo(11.5, 27);
    a.lineTo(11.5, 16);
    a.lineTo(5, 16);
    a.closeSubpath();
    if (!up) {
        QTransform flip;
        flip.translate(0, 32);
        flip.scale(1, -1);
        a = flip.map(a);
    }
    QLinearGradient g(0, 4, 0, 28);
    g.setColorAt(0, up ? kBlueMid : kBlue);
    g.setColorAt(1, up ? kBlue : kBlueMid);
    p.setPen(pen(kBlue, 1.4));
    p.setBrush(g);
    p.drawPath(a);
}

void neutral(QPainter &p)
{
    p.setPen(pen(QColor(0x8A, 0x96, 0xA3), 1.6));
    p.setBrush(QColor(0xF1, 0xF3, 0xF5));
    p.drawRoundedRect(QRectF(5, 5, 22, 22), 5, 5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x8A, 0x96, 0xA3));
    p.drawEllipse(QPointF(16, 16), 2.4, 2.4);
}

// The program's emblem: a speech bubble with a question mark and an orange
// tick, on a blue tile.
void emblem(QPainter &p)
{
    QLinearGradient tile(0, 1, 0, 31);
    tile.setColorAt(0, kBlueMid);
    tile.setColorAt(1, kBlue);
    p.setPen(Qt::NoPen);
    p.setBrush(tile);
    p.drawRoundedRect(QRectF(1, 1, 30, 30), 7, 7);

    QPainterPath b;
    b.addRoundedRect(QRectF(5, 5, 20, 15.5), 4.5, 4.5);
    QPainterPath tail;
    tail.moveTo(8, 19);
    tail.lineTo(7, 26);
    tail.lineTo(14, 19.5);
    tail.closeSubpath();
    p.setBrush(kWhite);
    p.drawPath(b.united(tail));
    questionMark(p, QPointF(15, 12.2), 0.92, kBlue);

    p.setPen(pen(kBlue, 1.6));
    p.setBrush(kOrange);
    p.drawEllipse(QPointF(24, 24), 5.6, 5.6);
    QPainterPath check;
    check.moveTo(21.3, 24.1);
    check.lineTo(23.3, 26.1);
    check.lineTo(26.9, 22.1);
    p.setPen(pen(kWhite, 1.9));
    p.setBrush(Qt::NoBrush);
    p.drawPath(check);
}

const QHash<QString, Painter> &painters()
{
    static const QHash<QString, Painter> table = {
        {QStringLiteral("neu"),
         [](QPainter &p) {
             page(p);
             plusBadge(p);
         }},
        {QStringLiteral("laden"), folder},
        {QStringLiteral("speichern"), floppy},
        {QStringLiteral("htmlexport"), htmlExport},
        {QStringLiteral("hilfe"), [](QPainter &p) { circleGlyph(p, true); }},
        {QStringLiteral("vorschau"), magnifier},
        {QStringLiteral("info"), [](QPainter &p) { circleGlyph(p, false); }},
        {QStringLiteral("beenden"), door},
        {QStringLiteral("frage-neu"),
         [](QPainter &p) {
             bubble(p);
             plusBadge(p);
         }},
        {QStringLiteral("frage-bearbeiten"),
         [](QPainter &p) {
             bubble(p);
             pencil(p);
         }},
        {QStringLiteral("frage-loeschen"),
         [](QPainter &p) {
             bubble(p);
             crossBadge(p);
         }},
        {QStringLiteral("hoch"), [](QPainter &p) { boldArrow(p, true); }},
        {QStringLiteral("runter"), [](QPainter &p) { boldArrow(p, false); }},
        {QStringLiteral("linktest"),
         [](QPainter &p) {
             globe(p, QPointF(14, 14), 11);
             checkBadge(p);
         }},
        {QStringLiteral("ed-neu"),
         [](QPainter &p) {
             page(p, QRectF(7, 3.5, 18, 25), false);
             plusBadge(p);
         }},
        {QStringLiteral("ed-ausschneiden"), scissors},
        {QStringLiteral("ed-kopieren"),
         [](QPainter &p) {
             page(p, QRectF(4, 3, 15, 20));
             page(p, QRectF(13, 9, 15, 20));
         }},
        {QStringLiteral("ed-einfuegen"), clipboard},
        {QStringLiteral("ed-fett"), [](QPainter &p) { glyph(p, QStringLiteral("F"), QRectF(8, 5, 16, 22), true, false, kBlue); }},
        {QStringLiteral("ed-kursiv"), [](QPainter &p) { glyph(p, QStringLiteral("K"), QRectF(6, 5, 20, 22), true, true, kBlue); }},
        {QStringLiteral("ed-unterstrichen"),
         [](QPainter &p) {
             glyph(p, QStringLiteral("U"), QRectF(8, 3.5, 16, 19), true, false, kBlue);
             p.setPen(pen(kOrange, 2.6));
             p.drawLine(QPointF(7, 27), QPointF(25, 27));
         }},
        {QStringLiteral("ed-links"),
         [](QPainter &p) {
             textLines(p, {{4, 28}, {4, 20}, {4, 26}, {4, 17}, {4, 24}});
         }},
        {QStringLiteral("ed-zentriert"),
         [](QPainter &p) {
             textLines(p, {{4, 28}, {9, 23}, {6, 26}, {11, 21}, {7, 25}});
         }},
        {QStringLiteral("ed-rechts"),
         [](QPainter &p) {
             textLines(p, {{4, 28}, {12, 28}, {6, 28}, {15, 28}, {8, 28}});
         }},
        {QStringLiteral("ed-aufzaehlung"),
         [](QPainter &p) {
             p.setPen(Qt::NoPen);
             p.setBrush(kOrange);
             for (int i = 0; i < 3; ++i)
                 p.drawEllipse(QPointF(7, 8 + i * 8), 2.6, 2.6);
             p.setPen(pen(kBlue, 2.4));
             for (int i = 0; i < 3; ++i)
                 p.drawLine(QPointF(13, 8 + i * 8), QPointF(28, 8 + i * 8));
         }},
        {QStringLiteral("ed-nummerierung"),
         [](QPainter &p) {
             for (int i = 0; i < 3; ++i) {
                 glyph(p, QString::number(i + 1), QRectF(3.5, 5 + i * 8, 6, 6.5), true, false, kOrange);
                 p.setPen(pen(kBlue, 2.4));
                 p.drawLine(QPointF(13, 8 + i * 8), QPointF(28, 8 + i * 8));
             }
         }},
        {QStringLiteral("ed-link"),
         [](QPainter &p) {
             chainLink(p, QPointF(11.5, 20.5), -45, kBlue);
             chainLink(p, QPointF(20.5, 11.5), -45, kOrange);
         }},
        {QStringLiteral("ed-groesser"), [](QPainter &p) { fontSizeIcon(p, true); }},
        {QStringLiteral("ed-kleiner"), [](QPainter &p) { fontSizeIcon(p, false); }},
        {QStringLiteral("ed-farbe"),
         [](QPainter &p) {
             glyph(p, QStringLiteral("A"), QRectF(7, 3, 18, 19), true, false, kBlue);
             p.setPen(pen(kOrangeDark, 1.0));
             p.setBrush(kOrange);
             p.drawRoundedRect(QRectF(5, 24, 22, 5), 1.5, 1.5);
         }},
        {QStringLiteral("ed-beenden"), door},
    };
    return table;
}

QIcon makeIcon(const Painter &paint)
{
    QIcon result;
    for (int size : {16, 20, 22, 24, 32, 40, 44, 48, 64, 96, 128, 256}) {
        const qreal scale = size / 32.0;
        result.addPixmap(render(
            QSize(size, size),
            [&](QPainter &p) {
                p.scale(scale, scale);
                paint(p);
            },
            1.0));
    }
    return result;
}

} // namespace

namespace Artwork {

QIcon appIcon()
{
    static const QIcon icon = makeIcon(emblem);
    return icon;
}

QStringList iconNames()
{
    // In the order of the toolbars that use them.
    return {QStringLiteral("neu"),
            QStringLiteral("laden"),
            QStringLiteral("speichern"),
            QStringLiteral("htmlexport"),
            QStringLiteral("hilfe"),
            QStringLiteral("vorschau"),
            QStringLiteral("info"),
            QStringLiteral("beenden"),
            QStringLiteral("frage-neu"),
            QStringLiteral("frage-bearbeiten"),
            QStringLiteral("frage-loeschen"),
            QStringLiteral("hoch"),
            QStringLiteral("runter"),
            QStringLiteral("linktest"),
            QStringLiteral("ed-neu"),
            QStringLiteral("ed-ausschneiden"),
            QStringLiteral("ed-kopieren"),
            QStringLiteral("ed-einfuegen"),
            QStringLiteral("ed-fett"),
            QStringLiteral("ed-kursiv"),
            QStringLiteral("ed-unterstrichen"),
            QStringLiteral("ed-links"),
            QStringLiteral("ed-zentriert"),
            QStringLiteral("ed-rechts"),
            QStringLiteral("ed-aufzaehlung"),
            QStringLiteral("ed-nummerierung"),
            QStringLiteral("ed-link"),
            QStringLiteral("ed-groesser"),
            QStringLiteral("ed-kleiner"),
            QStringLiteral("ed-farbe"),
            QStringLiteral("ed-beenden")};
}

QIcon icon(const QString &name)
{
    static QHash<QString, QIcon> cache;
    auto it = cache.constFind(name);
    if (it != cache.constEnd())
        return *it;
    const auto &table = painters();
    const auto found = table.constFind(name);
    const QIcon made = makeIcon(found != table.constEnd() ? *found : Painter(neutral));
    cache.insert(name, made);
    return made;
}

QPixmap splash()
{
    return render(QSize(516, 315), [](QPainter &p) {
        const QRectF all(0, 0, 516, 315);
        QLinearGradient bg(0, 0, 516, 315);
        bg.setColorAt(0, kBlueMid);
        bg.setColorAt(0.55, kBlue);
        bg.setColorAt(1, QColor(0x16, 0x3A, 0x5C));
        p.fillRect(all, bg);

        // Soft rings on the right and a wave of the accent colour at the foot.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 14));
        p.drawEllipse(QPointF(470, 60), 150, 150);
        p.setBrush(QColor(255, 255, 255, 10));
        p.drawEllipse(QPointF(500, 260), 110, 110);

        QPainterPath wave;
        wave.moveTo(0, 262);
        wave.cubicTo(140, 228, 300, 300, 516, 248);
        wave.lineTo(516, 315);
        wave.lineTo(0, 315);
        wave.closeSubpath();
        p.setBrush(QColor(0xF2, 0x8C, 0x28, 235));
        p.drawPath(wave);
        QPainterPath wave2;
        wave2.moveTo(0, 282);
        wave2.cubicTo(160, 258, 320, 318, 516, 272);
        wave2.lineTo(516, 315);
        wave2.lineTo(0, 315);
        wave2.closeSubpath();
        p.setBrush(kOrangeDark);
        p.drawPath(wave2);

        // The emblem, with a soft shadow.
        p.save();
        p.translate(52, 78);
        p.setBrush(QColor(0, 0, 0, 50));
        p.drawRoundedRect(QRectF(5, 7, 120, 120), 28, 28);
        p.scale(120.0 / 32, 120.0 / 32);
        emblem(p);
        p.restore();

        p.setBrush(kWhite);
        p.drawPath(textShape(QStringLiteral("Pruvex"), QRectF(204, 96, 250, 56), true, false, Qt::AlignLeft));
        p.setBrush(kBlueLight);
        p.drawPath(textShape(QStringLiteral("Online-Quiz-Editor"), QRectF(206, 166, 190, 19), false, false, Qt::AlignLeft));
        p.setPen(pen(kOrange, 3));
        p.drawLine(QPointF(206, 200), QPointF(262, 200));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 200));
        p.drawPath(
            textShape(QStringLiteral("Quizseiten erstellen – ganz ohne HTML"), QRectF(206, 212, 230, 13), false, false, Qt::AlignLeft));
    });
}

QPixmap aboutPicture()
{
    return render(QSize(250, 110), [](QPainter &p) {
        QLinearGradient bg(0, 0, 250, 110);
        bg.setColorAt(0, kBlueMid);
        bg.setColorAt(1, kBlue);
        p.setPen(Qt::NoPen);
        p.setBrush(bg);
        p.drawRoundedRect(QRectF(0, 0, 250, 110), 12, 12);
        p.setBrush(QColor(255, 255, 255, 16));
        p.drawEllipse(QPointF(225, 10), 70, 70);

        p.save();
        p.translate(20, 19);
        p.scale(72.0 / 32, 72.0 / 32);
        emblem(p);
        p.restore();

        // A small quiz card: three options, the second one chosen.
        const QRectF card(112, 20, 118, 70);
        p.setBrush(kWhite);
        p.drawRoundedRect(card, 8, 8);
        for (int i = 0; i < 3; ++i) {
            const qreal y = card.top() + 17 + i * 18;
            p.setPen(pen(i == 1 ? kOrangeDark : kBlueMid, 1.6));
            p.setBrush(i == 1 ? kOrange : kWhite);
            p.drawEllipse(QPointF(card.left() + 16, y), 5, 5);
            p.setPen(pen(i == 1 ? kBlue : kBlueLight, 3.4));
            p.drawLine(QPointF(card.left() + 29, y), QPointF(card.right() - 14 - i * 12, y));
        }
    });
}

QPixmap captchaSample()
{
    return render(QSize(120, 40), [](QPainter &p) {
        p.setPen(pen(kBlueLight, 1));
        p.setBrush(kBluePale);
        p.drawRoundedRect(QRectF(0.5, 0.5, 119, 39), 4, 4);

        // Noise: fixed curves, so that the sample is always the same.
        p.setBrush(Qt::NoBrush);
        const QList<std::array<qreal, 8>> curves = {
            {2, 30, 30, 4, 70, 38, 118, 12}, {2, 10, 40, 34, 80, 2, 118, 28}, {2, 22, 35, 18, 85, 26, 118, 20}};
        for (int i = 0; i < curves.size(); ++i) {
            const auto &c = curves[i];
            QPainterPath curve;
            curve.moveTo(c[0], c[1]);
            curve.cubicTo(c[2], c[3], c[4], c[5], c[6], c[7]);
            p.setPen(pen(i == 2 ? QColor(0xF2, 0x8C, 0x28, 110) : QColor(0x2E, 0x6D, 0xA4, 90), 1.2));
            p.drawPath(curve);
        }
        const QString code = QStringLiteral("K7pX2");
        const qreal angles[] = {-14, 10, -6, 16, -11};
        const qreal lift[] = {2, -3, 3, -2, 1};
        for (int i = 0; i < code.size(); ++i) {
            p.save();
            p.translate(16 + i * 22, 20 + lift[i]);
            p.rotate(angles[i]);
            p.shear(i % 2 ? 0.15 : -0.12, 0);
            p.setPen(Qt::NoPen);
            p.setBrush(i % 2 ? kOrangeDark : kBlue);
            p.drawPath(textShape(QString(code[i]), QRectF(-8, -11, 16, 22), true, i == 2));
            p.restore();
        }
        p.setPen(pen(QColor(0x1F, 0x4E, 0x79, 150), 1.4));
        p.drawLine(QPointF(6, 24), QPointF(114, 15));
    });
}

QPixmap cssIllustration()
{
    return render(QSize(200, 120), [](QPainter &p) {
        // A page with an input field and two buttons styled by the settings.
        p.setPen(pen(kBlueLight, 1));
        p.setBrush(kWhite);
        p.drawRoundedRect(QRectF(0.5, 0.5, 199, 119), 8, 8);
        p.setPen(Qt::NoPen);
        p.setBrush(kBluePale);
        p.drawRoundedRect(QRectF(0.5, 0.5, 199, 18), 8, 8);
        p.drawRect(QRectF(0.5, 10, 199, 9));
        for (int i = 0; i < 3; ++i) {
            p.setBrush(i == 0 ? kOrange : kBlueLight);
            p.drawEllipse(QPointF(12 + i * 10, 9.5), 3, 3);
        }

        p.setBrush(kInk);
        p.drawPath(textShape(QStringLiteral("Ihr Name:"), QRectF(14, 28, 50, 10), false, false, Qt::AlignLeft));
        const QRectF field(14, 42, 172, 22);
        p.setPen(pen(kOrange, 2));
        p.setBrush(QColor(0xFD, 0xF3, 0xE8));
        p.drawRoundedRect(field, 4, 4);
        p.setPen(Qt::NoPen);
        p.setBrush(kBlue);
        p.drawPath(textShape(QStringLiteral("Max Muster"), QRectF(22, 48, 58, 10), false, false, Qt::AlignLeft));
        p.setPen(pen(kBlue, 1.2));
        p.drawLine(QPointF(84, 47), QPointF(84, 59));

        const QRectF send(14, 78, 80, 26);
        QLinearGradient g(0, send.top(), 0, send.bottom());
        g.setColorAt(0, kBlueMid);
        g.setColorAt(1, kBlue);
        p.setPen(pen(kBlue, 1.5));
        p.setBrush(g);
        p.drawRoundedRect(send, 5, 5);
        p.setPen(Qt::NoPen);
        p.setBrush(kWhite);
        p.drawPath(textShape(QStringLiteral("Absenden"), send.adjusted(14, 8, -14, -8), true));

        const QRectF reset(104, 78, 82, 26);
        p.setPen(QPen(kBlueMid, 1.5, Qt::DashLine));
        p.setBrush(kWhite);
        p.drawRoundedRect(reset, 5, 5);
        p.setPen(Qt::NoPen);
        p.setBrush(kBlueMid);
        p.drawPath(textShape(QStringLiteral("Zurücksetzen"), reset.adjusted(9, 9, -9, -9), false));
    });
}

} // namespace Artwork
