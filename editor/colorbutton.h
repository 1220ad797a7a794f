#pragma once

#include <QColor>
#include <QToolButton>

// A colour swatch. A click opens a palette of preset colours with a button
// "&Other..." for the full colour dialog. colorChanged is emitted only when
// the colour really changes, whoever set it.
class ColorButton : public QToolButton
{
    Q_OBJECT

public:
    explicit ColorButton(QWidget *parent = nullptr);

    QColor color() const { return m_color; }
    void setColor(const QColor &color);

    static const QList<QColor> &presetColors();

signals:
    void colorChanged(const QColor &color);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void pickOther();
    QColor m_color = Qt::black;
};
