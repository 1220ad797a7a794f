#include "qttranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

QStringList QtTranslations::installGerman(const QStringList &catalogues)
{
    // The browser engine takes its language (error pages, the language it
    // asks web servers for) from the default locale when it starts.
    const QLocale german(QLocale::German, QLocale::Germany);
    QLocale::setDefault(german);

    QStringList missing;
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const QString &name : catalogues) {
        auto *translator = new QTranslator(QCoreApplication::instance());
        if (translator->load(german, name, QStringLiteral("_"), folder) && QCoreApplication::installTranslator(translator))
            continue;
        delete translator;
        missing << name;
    }
    return missing;
}
