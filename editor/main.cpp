#include "artwork.h"
#include "version.h"
#include "mainwindow.h"
#include "paths.h"
#include "qttranslations.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QScreen>

int main(int argc, char *argv[])
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QtTranslations::installGerman({QStringLiteral("qtbase"), QStringLiteral("qtwebengine")});
    QApplication::setApplicationName(QStringLiteral("Pruvex"));
    QApplication::setApplicationDisplayName(QStringLiteral("Pruvex"));
    QApplication::setApplicationVersion(QStringLiteral(PRUVEX_VERSION));
    QApplication::setWindowIcon(Artwork::appIcon());

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Pruvex – Online-Quiz-Editor"));
    parser.addHelpOption();
    parser.addVersionOption();
    QCommandLineOption noSplash(QStringLiteral("no-splash"), QStringLiteral("Startet ohne Begrüßungsbild."));
    parser.addOption(noSplash);
    parser.addPositionalArgument(QStringLiteral("projekt"), QStringLiteral("Quiz-Projekt (.pvx), das geöffnet wird."),
                                 QStringLiteral("[projekt]"));
    parser.process(app);

    Paths::ensureUserDataPath();
    MainWindow window;
    window.move(window.screen()->availableGeometry().center() - window.rect().center());
    window.show();
    const QStringList args = parser.positionalArguments();
    window.startUp(args.isEmpty() ? QString() : args.first(), !parser.isSet(noSplash));
    return app.exec();
}
