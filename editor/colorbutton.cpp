#include "colorbutton.h"

#include "prompts.h"

#include <QGridLayout>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QStyleOptionToolButton>
#include <QWidgetAction>

const QList<QColor> &ColorButton::presetColors()
{
    // The sixteen colours of the classic palette, then a few light tones.
    static const QList<QColor> colors = {
        QColor(0x00, 0x00, 0x00), QColor(0x80, 0x00, 0x00), QColor(0x00, 0x80, 0x00), QColor(0x80, 0x80, 0x00), QColor(0x00, 0x00, 0x80),
        QColor(0x80, 0x00, 0x80), QColor(0x00, 0x80, 0x80), QColor(0x80, 0x80, 0x80), QColor(0xC0, 0xC0, 0xC0), QColor(0xFF, 0x00, 0x00),
        QColor(0x00, 0xFF, 0x00), QColor(0xFF, 0xFF, 0x00), QColor(0x00, 0x00, 0xFF), QColor(0xFF, 0x00, 0xFF), QColor(0x00, 0xFF, 0xFF),
        QColor(0xFF, 0xFF, 0xFF), QColor(0xA0, 0xA0, 0xA4), QColor(0xC0, 0xDC, 0xC0), QColor(0xA6, 0xCA, 0xF0), QColor(0xFF, 0xFB, 0xF0),
    };
    return colors;
}

ColorButton::ColorButton(QWidget *parent)
    : QToolButton(parent)
{
    setFocusPolicy(Qt::NoFocus); // skipped by Tab; the edit beside it holds the same colour
    setPopupMode(QToolButton::InstantPopup);
    setFixedSize(40, 24);

    auto *menu = new QMenu(this);
    auto *panel = new QWidget(menu);
    auto *grid = new QGridLayout(panel);
    grid->setContentsMargins(6, 6, 6, 6);
    grid->setSpacing(3);
    const auto &colors = presetColors();
    for (int i = 0; i < colors.size(); ++i) {
        auto *swatch = new QToolButton(panel);
        swatch->setFixedSize(20, 20);
        swatch->setAutoRaise(false);
        swatch->setStyleSheet(QStringLiteral("QToolButton { background: %1; border: 1px solid #707070; }").arg(colors[i].name()));
        swatch->setToolTip(colors[i].name().mid(1).toUpper());
        swatch->setAccessibleName(swatch->toolTip());
        const QColor c = colors[i];
        connect(swatch, &QToolButton::clicked, this, [this, menu, c] {
            menu->close();
            setColor(c);
        });
        grid->addWidget(swatch, i / 5, i % 5);
    }
    auto *other = new QPushButton(tr("&Other..."), panel);
    connect(other, &QPushButton::clicked, this, [this, menu] {
        menu->close();
        pickOther();
    });
    grid->addWidget(other, (colors.size() + 4) / 5, 0, 1, 5);
    auto *action = new QWidgetAction(menu);
    action->setDefaultWidget(panel);
    menu->addAction(action);
    setMenu(menu);
}

void ColorButton::setColor(const QColor &color)
{
    const QColor c = QColor(color.red(), color.green(), color.blue());
    if (c == m_color)
        return;
    m_color = c;
    update();
    emit colorChanged(m_color);
}

void ColorButton::pickOther()
{
    const QColor c = Prompts::color(this, m_color);
    if (c.isValid())
        setColor(c);
}

void ColorButton::paintEvent(QPaintEvent *event)
{
    QToolButton::paintEvent(event);
    QPainter p(this);
    const QRect r = rect().adjusted(5, 5, -14, -5);
    p.setPen(QColor(0x60, 0x60, 0x60));
    p.setBrush(m_color);
    p.drawRect(r);
}
