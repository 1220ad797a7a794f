#include "webaddress.h"

#include "prompts.h"

#include <QRegularExpression>

namespace WebAddress {

QUrl fromTyped(const QString &text, bool *schemeAdded)
{
    if (schemeAdded)
        *schemeAdded = false;
    QString address = text.trimmed();
    if (address.isEmpty())
        return {};
    // A scheme is letters before a colon; "host:8080" is a host and a port.
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*:(?!\\d)"));
    if (!scheme.match(address).hasMatch()) {
        address.prepend(QStringLiteral("http://"));
        if (schemeAdded)
            *schemeAdded = true;
    }
    const QUrl url(address, QUrl::TolerantMode);
    const QString s = url.scheme().toLower();
    if (!url.isValid() || (s != QLatin1String("http") && s != QLatin1String("https")) || url.host().isEmpty())
        return {};
    return url;
}

bool open(QWidget *parent, const QString &typed, const QString &suffix)
{
    const QString title = QStringLiteral("Adresse öffnen");
    if (typed.trimmed().isEmpty()) {
        Prompts::message(parent, title, QStringLiteral("Bitte tragen Sie zuerst eine Internetadresse ein."), Prompts::Information);
        return false;
    }
    bool schemeAdded = false;
    const QUrl url = fromTyped(typed.trimmed() + suffix, &schemeAdded);
    if (!url.isValid()) {
        Prompts::message(parent, title,
                         QStringLiteral("\"%1\" ist keine Internetadresse, die im Browser geöffnet werden kann.\n"
                                        "Geben Sie die Adresse mit http:// oder https:// ein, z. B. http://www.beispiel.de/quiz.php")
                             .arg(typed.trimmed()),
                         Prompts::Warning);
        return false;
    }
    if (schemeAdded && Prompts::question(parent, title,
                                         QStringLiteral("Die Adresse \"%1\" beginnt nicht mit http:// oder https://.\n"
                                                        "Soll \"%2\" im Browser geöffnet werden?")
                                             .arg(typed.trimmed(), url.toString()),
                                         false) != Prompts::Yes)
        return false;
    Prompts::openUrl(url);
    return true;
}

} // namespace WebAddress
