#pragma once

#include <QColor>
#include <QDialog>

class EmbeddedView;
class QAction;

// "HTML-Editor": edits an HTML text as rendered HTML in the embedded
// browser's editing mode and hands back the body's HTML.
class HtmlEditorDialog : public QDialog
{
    Q_OBJECT

public:
    explicit HtmlEditorDialog(QWidget *parent = nullptr);

    // The calling protocol of every "..." button: the editor on *text;
    // on OK *text becomes the edited HTML. When the editor cannot be used it
    // says so and *text stays. True when the text was taken over.
    static bool editText(QWidget *parent, QString *text);
    // What the caller is told when the embedded browser failed, and why.
    static QString unusableMessage(const QString &reason = QString());
    // Asks for the address of a new link ("Hyperlink einfügen"); false when
    // the user cancelled.
    static bool askLinkAddress(QWidget *parent, QString *address);

    bool setHtml(const QString &text);
    QString html(bool *ok = nullptr);
    EmbeddedView *view() const { return m_web; }

    void clearText();
    void increaseFontSize();
    void decreaseFontSize();
    void chooseFontColor();

    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void changeFontSize(int delta);
    void command(const QString &name, bool showUi = false, const QVariant &value = QVariant());
    // Asks whether to take the text over and ends the window accordingly.
    void finish();

    EmbeddedView *m_web;
    QColor m_lastColor = Qt::black;
    bool m_finishing = false;
};
