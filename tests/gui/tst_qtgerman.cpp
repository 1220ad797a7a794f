// Qt's own texts, as the program loads them at start: German buttons, menus,
// dialogs and browser pages.

#include "embeddedview.h"
#include "pagescript.h"
#include "paths.h"
#include "qttranslations.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <QtTest>

class TestQtGerman : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_userDir;

private slots:
    void initTestCase()
    {
        Paths::setUserDataPath(m_userDir.path());
        // Before the first browser, as the program does.
        QCOMPARE(QtTranslations::installGerman({QStringLiteral("qtbase"), QStringLiteral("qtwebengine"), QStringLiteral("gibtsnicht")}),
                 QStringList{QStringLiteral("gibtsnicht")});
    }

    void dialogsAndMenus()
    {
        QDialogButtonBox box(QDialogButtonBox::Yes | QDialogButtonBox::No | QDialogButtonBox::Cancel | QDialogButtonBox::Ok);
        QCOMPARE(box.button(QDialogButtonBox::Yes)->text(), QStringLiteral("&Ja"));
        QCOMPARE(box.button(QDialogButtonBox::No)->text(), QStringLiteral("&Nein"));
        QCOMPARE(box.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Abbrechen"));

        QLineEdit edit(QStringLiteral("Text"));
        std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
        QStringList entries;
        for (QAction *a : menu->actions())
            entries << a->text().remove(QLatin1Char('&'));
        for (const char *entry : {"Rückgängig", "Ausschneiden", "Einfügen", "Alles auswählen"})
            QVERIFY2(entries.join(QLatin1Char('|')).contains(QString::fromUtf8(entry)), qPrintable(entries.join(QLatin1Char('|'))));

        QFileDialog files;
        files.setOption(QFileDialog::DontUseNativeDialog);
        auto *lookIn = files.findChild<QLabel *>(QStringLiteral("lookInLabel"));
        QVERIFY(lookIn);
        QCOMPARE(lookIn->text(), QStringLiteral("Suchen in:"));
    }

    void browserMenuAndPages()
    {
        EmbeddedView view(EmbeddedView::Role::Preview);
        view.resize(500, 300);
        view.show();
        QCOMPARE(view.webView()->page()->action(QWebEnginePage::Back)->text(), QStringLiteral("Zurück"));

        // The engine's own page for a preview file that could not be written.
        view.navigate(m_userDir.filePath(QStringLiteral("fehlt/temp.htm")));
        const QString script = QStringLiteral("document.body ? document.body.innerText : ''");
        QTRY_VERIFY_WITH_TIMEOUT(evalJs(&view, script).toString().contains(QStringLiteral("Zugriff auf die Datei nicht möglich")), 10000);
    }
};

QTEST_MAIN(TestQtGerman)
#include "tst_qtgerman.moc"
