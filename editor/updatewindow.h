#pragma once

#include <QDialog>
#include <QString>

class EmbeddedView;

// Shows the maker's page that tells whether a newer version exists.
class UpdateWindow : public QDialog
{
    Q_OBJECT

public:
    explicit UpdateWindow(QWidget *parent = nullptr);

    // Creates the window, owned by parent, and shows it modally.
    static void check(QWidget *parent);

    EmbeddedView *m_previewView() const { return m_webBrowser; }
    // The address asked when the window shows (tests point it elsewhere).
    void setAddress(const QString &address) { m_address = address; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    EmbeddedView *m_webBrowser = nullptr;
    QString m_address;
};
