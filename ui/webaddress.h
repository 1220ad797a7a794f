#pragma once

#include <QString>
#include <QUrl>

class QWidget;

// Addresses the user typed (a quiz script, an error page, a project's web
// page), opened in the browser as web addresses: never as a file name and
// never as an option of the desktop's opener.
namespace WebAddress {

// The web address a typed text names, blanks around it removed. A text
// without a scheme ("www.beispiel.de/quiz.php", "localhost:8080/quiz.php")
// gets "http://" in front, and *schemeAdded says so. Only http and https
// count; anything else, or a text without a host, gives an invalid QUrl.
QUrl fromTyped(const QString &text, bool *schemeAdded = nullptr);

// Opens typed, followed by suffix, in the default browser. A text without a
// scheme is opened only when the user accepts the proposed "http://"
// address; a text that names no web address is reported. True when opened.
bool open(QWidget *parent, const QString &typed, const QString &suffix = QString());

} // namespace WebAddress
