#include "previewwindow.h"
#include "placement.h"

#include "embeddedview.h"
#include "pagesource.h"

#include <QCloseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace {
const QString captionOn = QStringLiteral("Auto-Vorschau - AKTIV");
const QString captionOff = QStringLiteral("Auto-Vorschau - NICHT AKTIV");
} // namespace

PreviewWindow::PreviewWindow(PageSource &source, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_source(source)
{
    setObjectName(QStringLiteral("frmPreview"));
    setWindowTitle(QStringLiteral("Vorschau"));
    resize(689, 287);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    m_panel = new QWidget(this);
    m_panel->setObjectName(QStringLiteral("Panel1"));
    m_panel->setFixedHeight(25);
    auto *panelLayout = new QHBoxLayout(m_panel);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    m_activeButton = new QPushButton(captionOn, m_panel);
    m_activeButton->setObjectName(QStringLiteral("sbActive"));
    m_activeButton->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    m_activeButton->setAccessibleDescription(QStringLiteral("Schaltet die automatische Aktualisierung der Vorschau ein oder aus"));
    panelLayout->addWidget(m_activeButton);
    layout->addWidget(m_panel);

    auto *browserArea = new QVBoxLayout;
    browserArea->setContentsMargins(8, 6, 8, 8);
    m_view = new EmbeddedView(EmbeddedView::Role::Preview, this);
    m_view->setObjectName(QStringLiteral("Webbrowser"));
    m_view->setAccessibleName(QStringLiteral("Vorschau der Quizseite"));
    browserArea->addWidget(m_view);
    layout->addLayout(browserArea, 1);

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(1000);

    connect(m_timer, &QTimer::timeout, this, &PreviewWindow::tick);
    connect(m_activeButton, &QPushButton::clicked, this, &PreviewWindow::toggleAutoPreview);
    // The caption says "on" from the start, although the timer only runs
    // once the window is opened.
    m_activeButton->setAccessibleName(captionOn);
}

void PreviewWindow::open()
{
    if (!isVisible())
        centreOnParent();
    show();
    raise();
    activateWindow();
    m_timer->start();
    showState();
}

void PreviewWindow::tick()
{
    refreshPreview(m_source, *m_view, previewWindowFilePath());
}

void PreviewWindow::toggleAutoPreview()
{
    if (m_timer->isActive())
        m_timer->stop();
    else
        m_timer->start();
    showState();
}

void PreviewWindow::closeEvent(QCloseEvent *event)
{
    m_timer->stop();
    event->accept();
}

void PreviewWindow::showState()
{
    m_activeButton->setText(m_timer->isActive() ? captionOn : captionOff);
    m_activeButton->setAccessibleName(m_activeButton->text());
}

void PreviewWindow::centreOnParent()
{
    Placement::centreOnOwner(this);
}
