#include "splashscreen.h"
#include "version.h"

#include "artwork.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QTimer>

SplashScreen::SplashScreen(QWidget *parent)
    : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
    , m_picture(Artwork::splash())
{
    setObjectName(QStringLiteral("frmSplash"));
    setFixedSize(516, 315);

    auto *version = new QLabel(QStringLiteral("Version " PRUVEX_VERSION), this);
    version->setObjectName(QStringLiteral("lblVersion"));
    QPalette pal = version->palette();
    pal.setColor(QPalette::WindowText, Qt::white);
    version->setPalette(pal);
    QFont font = version->font();
    font.setBold(true);
    version->setFont(font);
    version->adjustSize();
    version->move(width() - version->width() - 14, 10);

    if (QScreen *s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());
}

void SplashScreen::showModal(int ms)
{
    SplashScreen splash;
    QTimer::singleShot(ms, &splash, &QDialog::accept);
    splash.exec();
}

void SplashScreen::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.drawPixmap(rect(), m_picture);
}
