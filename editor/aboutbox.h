#pragma once

#include <QDialog>

// The about box: picture, name, rights notice with the homepage and the
// e-mail address, distribution note, version and "OK".
class AboutBox : public QDialog
{
    Q_OBJECT

public:
    explicit AboutBox(QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;
};
