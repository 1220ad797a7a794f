#pragma once

#include <QDialog>

// The borderless start picture with the version at its top right corner.
class SplashScreen : public QDialog
{
    Q_OBJECT

public:
    explicit SplashScreen(QWidget *parent = nullptr);

    // Shows a splash modally and closes it after ms milliseconds.
    static void showModal(int ms = 2000);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_picture;
};
