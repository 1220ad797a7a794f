#include "updatewindow.h"
#include "placement.h"

#include "embeddedview.h"
#include "links.h"

#include <QPointer>
#include <QScreen>
#include <QShowEvent>
#include <QVBoxLayout>

UpdateWindow::UpdateWindow(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmUpdateInformation"));
    setWindowTitle(QStringLiteral("Updateinformationen"));
    setFixedSize(415, 255);
    m_address = QString::fromLatin1(Links::updateCheck);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_webBrowser = new EmbeddedView(EmbeddedView::Role::WebPage, this);
    m_webBrowser->setObjectName(QStringLiteral("WebBrowser"));
    m_webBrowser->setAccessibleName(QStringLiteral("Updateinformationen"));
    layout->addWidget(m_webBrowser);
}

void UpdateWindow::check(QWidget *parent)
{
    // Freed once closed: every check makes a window of its own.
    QPointer<UpdateWindow> window = new UpdateWindow(parent);
    window->exec();
    if (window)
        window->deleteLater();
}

void UpdateWindow::showEvent(QShowEvent *event)
{
    Placement::centreOnOwner(this);
    QDialog::showEvent(event);
    m_webBrowser->navigate(m_address);
}
