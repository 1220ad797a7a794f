#pragma once

#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QVariant>

class QWidget;

// Every message box, file dialog and colour dialog of the program, and the
// hand-off of files and web addresses to the desktop, go through here. In
// test mode nothing is shown: each prompt takes the next prepared answer and
// is recorded, so tests drive the real windows without a person.
class Prompts
{
public:
    enum Answer { Ok, Yes, No, Cancel };
    enum Icon { Information, Question, Warning, Critical, NoIcon };

    struct Asked {
        QString kind; // "message", "question", "save", "open", "color", "openUrl"
        QString title;
        QString text;     // message text, file filter, or the address opened
        QString proposed; // proposed file name
    };

    // A box with a single OK button.
    static void message(QWidget *parent, const QString &title, const QString &text, Icon icon = NoIcon);
    // Yes/No or Yes/No/Cancel.
    static Answer question(QWidget *parent, const QString &title, const QString &text, bool withCancel, Icon icon = Question);
    // The file name chosen, or empty when the dialog was cancelled.
    static QString saveFileName(QWidget *parent, const QString &title, const QString &proposed, const QString &filter);
    static QString openFileName(QWidget *parent, const QString &title, const QString &proposed, const QString &filter);
    // The colour chosen, or an invalid colour when cancelled.
    static QColor color(QWidget *parent, const QColor &initial);
    // Opens a file or web address in the desktop's default application.
    static void openUrl(const QUrl &url);

    // Test seam.
    static void setTestMode(bool on);
    static bool testMode();
    // Answers in the order the prompts will come: an Answer for a message or
    // question, a QString for a file dialog (empty = cancel), a QColor for the
    // colour dialog (invalid = cancel).
    static void setNextAnswer(const QVariant &answer);
    static QList<Asked> asked();
    // Forgets what was asked.
    static void clearAsked();
    // Forgets what was asked, the prepared answers and the problems.
    static void resetTestState();
    static int pendingAnswers();
    // What went wrong in test mode: a question, file or colour dialog that
    // had no prepared answer, an answer of the wrong kind, and answers left
    // over. A test fails when this is not empty at its end.
    static QStringList testProblems();

private:
    static QVariant takeAnswer(const Asked &asked, const QVariant &fallback, bool required);
    static void record(const Asked &a);
};

Q_DECLARE_METATYPE(Prompts::Answer)
