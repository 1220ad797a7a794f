#pragma once

#include <QWidget>

class EmbeddedView;
class PageSource;
class QPushButton;
class QTimer;

// The non-modal preview window: while its auto-preview is on, it generates
// the page once a second and shows it. It lives for the whole run and is
// hidden, not destroyed, when closed.
class TfrmPreview : public QWidget
{
    Q_OBJECT

public:
    TfrmPreview(PageSource &source, QWidget *parent);

    // Shows the window and switches the auto-preview on; the first page
    // follows with the first tick.
    void open();
    void Timer1Timer();
    void sbActiveClick();

    QPushButton *sbActive() const { return m_sbActive; }
    EmbeddedView *Webbrowser() const { return m_webbrowser; }
    QTimer *Timer1() const { return m_timer1; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void showState();
    void centreOnParent();

    PageSource &m_source;
    QWidget *m_panel1 = nullptr;
    QPushButton *m_sbActive = nullptr;
    EmbeddedView *m_webbrowser = nullptr;
    QTimer *m_timer1 = nullptr;
};
