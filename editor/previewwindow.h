#pragma once

#include <QWidget>

class EmbeddedView;
class PageSource;
class QPushButton;
class QTimer;

// The non-modal preview window: while its auto-preview is on, it generates
// the page once a second and shows it. It lives for the whole run and is
// hidden, not destroyed, when closed.
class PreviewWindow : public QWidget
{
    Q_OBJECT

public:
    PreviewWindow(PageSource &source, QWidget *parent);

    // Shows the window and switches the auto-preview on; the first page
    // follows with the first tick.
    void open();
    void tick();
    void toggleAutoPreview();

    QPushButton *activeButton() const { return m_activeButton; }
    EmbeddedView *view() const { return m_view; }
    QTimer *timer() const { return m_timer; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void showState();
    void centreOnParent();

    PageSource &m_source;
    QWidget *m_panel = nullptr;
    QPushButton *m_activeButton = nullptr;
    EmbeddedView *m_view = nullptr;
    QTimer *m_timer = nullptr;
};
