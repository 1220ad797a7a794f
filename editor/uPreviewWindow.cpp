#include "uPreviewWindow.h"
#include "placement.h"

#include "embeddedview.h"
#include "preview.h"

#include <QCloseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace {
const QString captionOn = QStringLiteral("Auto-Vorschau - AKTIV");
const QString captionOff = QStringLiteral("Auto-Vorschau - NICHT AKTIV");
} // namespace

TfrmPreview::TfrmPreview(PageSource &source, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_source(source)
{
    setObjectName(QStringLiteral("frmPreview"));
    setWindowTitle(QStringLiteral("Vorschau"));
    resize(689, 287);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    m_panel1 = new QWidget(this);
    m_panel1->setObjectName(QStringLiteral("Panel1"));
    m_panel1->setFixedHeight(25);
    auto *panelLayout = new QHBoxLayout(m_panel1);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    m_sbActive = new QPushButton(captionOn, m_panel1);
    m_sbActive->setObjectName(QStringLiteral("sbActive"));
    m_sbActive->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    m_sbActive->setAccessibleDescription(QStringLiteral("Schaltet die automatische Aktualisierung der Vorschau ein oder aus"));
    panelLayout->addWidget(m_sbActive);
    layout->addWidget(m_panel1);

    auto *browserArea = new QVBoxLayout;
    browserArea->setContentsMargins(8, 6, 8, 8);
    m_webbrowser = new EmbeddedView(this);
    m_webbrowser->setObjectName(QStringLiteral("Webbrowser"));
    m_webbrowser->setAccessibleName(QStringLiteral("Vorschau der Quizseite"));
    browserArea->addWidget(m_webbrowser);
    layout->addLayout(browserArea, 1);

    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setInterval(1000);

    connect(m_timer1, &QTimer::timeout, this, &TfrmPreview::Timer1Timer);
    connect(m_sbActive, &QPushButton::clicked, this, &TfrmPreview::sbActiveClick);
    // The caption says "on" from the start, although the timer only runs
    // once the window is opened.
    m_sbActive->setAccessibleName(captionOn);
}

void TfrmPreview::open()
{
    if (!isVisible())
        centreOnParent();
    show();
    raise();
    activateWindow();
    m_timer1->start();
    showState();
}

void TfrmPreview::Timer1Timer()
{
    refreshPreview(m_source, *m_webbrowser, previewWindowFilePath());
}

void TfrmPreview::sbActiveClick()
{
    if (m_timer1->isActive())
        m_timer1->stop();
    else
        m_timer1->start();
    showState();
}

void TfrmPreview::closeEvent(QCloseEvent *event)
{
    m_timer1->stop();
    event->accept();
}

void TfrmPreview::showState()
{
    m_sbActive->setText(m_timer1->isActive() ? captionOn : captionOff);
    m_sbActive->setAccessibleName(m_sbActive->text());
}

void TfrmPreview::centreOnParent()
{
    Placement::centreOnOwner(this);
}
