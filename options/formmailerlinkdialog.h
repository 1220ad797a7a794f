#pragma once

#include <QDialog>
#include <QIcon>

class QLineEdit;
class QPushButton;
class QToolButton;

// "Formmailer-Link bearbeiten": enters or changes one quiz-script address.
// Created by the address-list manager for each use. Enter in the edit
// confirms, as OK does; every other way of closing counts as Cancel.
class FormMailerLinkDialog : public QDialog
{
    Q_OBJECT

public:
    explicit FormMailerLinkDialog(QWidget *parent = nullptr);

    QString link() const;
    void setLink(const QString &link);

    // The link test: the address followed by "?action=checkurl", whatever it
    // already holds, opened in the default browser as a web address.
    static void testLink(QWidget *parent, const QString &address);
    // The icon of the small buttons that open an address.
    static QIcon linkIcon(const QWidget *widget);

protected:
    void showEvent(QShowEvent *event) override;

private:
    QLineEdit *m_linkEdit;
    QToolButton *m_testButton;
    QPushButton *m_okButton;
    QPushButton *m_cancelButton;
};
