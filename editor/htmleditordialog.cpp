#include "htmleditordialog.h"
#include "placement.h"

#include "artwork.h"
#include "embeddedview.h"
#include "prompts.h"

#include <QAction>
#include <QCloseEvent>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QWebEngineView>
#include <QVBoxLayout>
#include <limits>

HtmlEditorDialog::HtmlEditorDialog(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmHtmlEdit"));
    setWindowTitle(QStringLiteral("HTML-Editor"));
    setSizeGripEnabled(true);

    m_web = new EmbeddedView(EmbeddedView::Role::TextEditor, this);
    m_web->setObjectName(QStringLiteral("Web"));
    m_web->setAccessibleName(QStringLiteral("HTML-Text"));
    // In the test mode of Prompts no prompt shows, as with the view's own.
    m_web->setLinkPrompt([](QWidget *owner, QString *address) { return !Prompts::testMode() && askLinkAddress(owner, address); });
    // The browser keeps Escape for itself; in the text it must lead to the
    // closing question, as it does everywhere else in the window.
    QWidget *browser = m_web->webView();
    browser->installEventFilter(this);
    for (QObject *c : browser->children())
        c->installEventFilter(this);

    struct ActionDef {
        const char *name;
        const char *caption;
        const char *icon;
        const char *toolButton;
        std::function<void()> run;
    };
    const ActionDef defs[] = {
        {"actNew", "Neu", "ed-neu", "tbButtonNew", [this] { clearText(); }},
        {nullptr, nullptr, nullptr, nullptr, nullptr},
        {"actCut", "Ausschneiden", "ed-ausschneiden", "tbCut", [this] { command(QStringLiteral("Cut")); }},
        {"actCopy", "Kopieren", "ed-kopieren", "tbCopy", [this] { command(QStringLiteral("Copy")); }},
        {"actPaste", "Einfügen", "ed-einfuegen", "tbPaste", [this] { command(QStringLiteral("Paste")); }},
        {nullptr, nullptr, nullptr, nullptr, nullptr},
        {"actBold", "Fett", "ed-fett", "tbButtonBold", [this] { command(QStringLiteral("Bold")); }},
        {"actItalic", "Kursiv", "ed-kursiv", "tbItalic", [this] { command(QStringLiteral("Italic")); }},
        {"actUnderline", "Unterstrichen", "ed-unterstrichen", "tbUnderline", [this] { command(QStringLiteral("Underline")); }},
        {nullptr, nullptr, nullptr, nullptr, nullptr},
        {"actLeft", "Linksbündig", "ed-links", "tbLeft", [this] { command(QStringLiteral("JustifyLeft")); }},
        {"actCenter", "Zentriert", "ed-zentriert", "tbCenter", [this] { command(QStringLiteral("JustifyCenter")); }},
        {"actRight", "Rechtsbündig", "ed-rechts", "tbRight", [this] { command(QStringLiteral("JustifyRight")); }},
        {nullptr, nullptr, nullptr, nullptr, nullptr},
        {"actBullet", "Aufzählung", "ed-aufzaehlung", "tbBullet", [this] { command(QStringLiteral("InsertUnorderedList")); }},
        {"actNumbering", "Nummerierung", "ed-nummerierung", "ToolButton2", [this] { command(QStringLiteral("InsertOrderedList")); }},
        {nullptr, nullptr, nullptr, nullptr, nullptr},
        {"actHyperlink", "Hyperlink einfügen", "ed-link", "tbLink", [this] { command(QStringLiteral("CreateLink"), true); }},
        {nullptr, nullptr, nullptr, nullptr, nullptr},
        {"actFontUp", "Schrift größer", "ed-groesser", "tbFontPlus", [this] { increaseFontSize(); }},
        {"actFontMin", "Schrift kleiner", "ed-kleiner", "tbFontMinus", [this] { decreaseFontSize(); }},
        {"actFontColor", "Schriftfarbe", "ed-farbe", "tbFontColor", [this] { chooseFontColor(); }},
        {nullptr, nullptr, nullptr, nullptr, nullptr},
        {"actExit", "Beenden", "ed-beenden", "ToolButton5", [this] { finish(); }},
    };

    auto *toolBar = new QToolBar(this);
    toolBar->setObjectName(QStringLiteral("ToolBar1"));
    toolBar->setIconSize(QSize(16, 16));
    QHash<QString, QAction *> actions;
    for (const ActionDef &d : defs) {
        if (!d.name) {
            toolBar->addSeparator();
            continue;
        }
        auto *a = new QAction(Artwork::icon(QLatin1String(d.icon)), QString::fromUtf8(d.caption), this);
        a->setObjectName(QLatin1String(d.name));
        a->setToolTip(a->text());
        connect(a, &QAction::triggered, this, d.run);
        toolBar->addAction(a);
        if (QWidget *w = toolBar->widgetForAction(a)) {
            w->setObjectName(QLatin1String(d.toolButton));
            w->setFixedWidth(25);
            w->setAccessibleName(a->text());
        }
        actions.insert(QLatin1String(d.name), a);
    }

    auto *menu = new QMenuBar(this);
    QMenu *file = menu->addMenu(QStringLiteral("D&atei"));
    file->addAction(actions.value(QStringLiteral("actNew")));
    file->addAction(actions.value(QStringLiteral("actExit")));
    QMenu *edit = menu->addMenu(QStringLiteral("Bearbeiten"));
    edit->addAction(actions.value(QStringLiteral("actCut")));
    edit->addAction(actions.value(QStringLiteral("actCopy")));
    edit->addAction(actions.value(QStringLiteral("actPaste")));

    auto *status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("StatusBar1"));
    status->setSizeGripEnabled(false);

    auto *v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);
    v->setMenuBar(menu);
    v->addWidget(toolBar);
    v->addWidget(m_web, 1);
    v->addWidget(status);
    resize(650, 443);
}

QString HtmlEditorDialog::unusableMessage(const QString &reason)
{
    // Says what went wrong in the embedded browser rather than naming a
    // browser version: the editor's engine comes with the program.
    QString text = QStringLiteral("Der HTML-Editor kann nicht verwendet werden.");
    if (!reason.isEmpty())
        text += QLatin1Char(' ') + reason;
    return text + QStringLiteral(" Der Text bleibt unverändert.");
}

bool HtmlEditorDialog::askLinkAddress(QWidget *parent, QString *address)
{
    QInputDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("dlgHyperlink"));
    dialog.setWindowTitle(QStringLiteral("Hyperlink einfügen"));
    dialog.setLabelText(QStringLiteral("&Adresse:"));
    dialog.setTextValue(QStringLiteral("http://"));
    if (auto *edit = dialog.findChild<QLineEdit *>()) {
        edit->setAccessibleName(QStringLiteral("Adresse"));
        // Room to read a long address, and no cut at 32,767 characters.
        edit->setMinimumWidth(400);
        edit->setMaxLength(std::numeric_limits<int>::max());
    }
    if (dialog.exec() != QDialog::Accepted)
        return false;
    *address = dialog.textValue();
    return true;
}

bool HtmlEditorDialog::setHtml(const QString &text)
{
    if (!m_web->hasDocument())
        m_web->navigate(QStringLiteral("about:blank"));
    return m_web->writeDocument(text);
}

QString HtmlEditorDialog::html(bool *ok)
{
    if (!m_web->hasDocument()) {
        if (ok)
            *ok = true;
        return QString();
    }
    return m_web->bodyInnerHtml(ok);
}

bool HtmlEditorDialog::editText(QWidget *parent, QString *text)
{
    HtmlEditorDialog editor(parent);
    Placement::centreOnOwner(&editor);
    bool ok = editor.setHtml(*text) && editor.m_web->setDesignMode(true);
    if (ok && editor.exec() == QDialog::Accepted) {
        const QString result = editor.html(&ok);
        if (ok) {
            *text = result;
            return true;
        }
    }
    // A user who gave up waiting for a slow engine needs no message.
    if (!ok && !editor.m_web->userCancelled())
        Prompts::message(parent, QStringLiteral("Pruvex"), unusableMessage(editor.m_web->errorText()), Prompts::Warning);
    return false;
}

void HtmlEditorDialog::command(const QString &name, bool showUi, const QVariant &value)
{
    if (!m_web->execCommand(name, showUi, value))
        Prompts::message(this, QStringLiteral("HTML-Editor"), QStringLiteral("Der Befehl \"%1\" konnte nicht ausgeführt werden.").arg(name),
                         Prompts::Critical);
}

void HtmlEditorDialog::clearText()
{
    if (Prompts::question(this, QStringLiteral("Bestätigen"), QStringLiteral("Wollen Sie die bestehende Eingabe löschen?"), false) ==
        Prompts::Yes) {
        setHtml(QString());
        m_web->setDesignMode(true);
    }
}

void HtmlEditorDialog::changeFontSize(int delta)
{
    const QVariant current = m_web->queryCommandValue(QStringLiteral("FontSize"));
    bool ok = false;
    const int size = current.toString().toInt(&ok);
    if (!ok) {
        Prompts::message(this, QStringLiteral("HTML-Editor"),
                         QStringLiteral("Die Schriftgröße \"%1\" ist keine ganze Zahl.").arg(current.toString()), Prompts::Critical);
        return;
    }
    command(QStringLiteral("FontSize"), true, size + delta);
}

void HtmlEditorDialog::increaseFontSize()
{
    changeFontSize(1);
}

void HtmlEditorDialog::decreaseFontSize()
{
    changeFontSize(-1);
}

void HtmlEditorDialog::chooseFontColor()
{
    const QColor c = Prompts::color(this, m_lastColor);
    if (!c.isValid())
        return;
    m_lastColor = c;
    const QString rgb = QStringLiteral("%1%2%3")
                            .arg(c.red(), 2, 16, QLatin1Char('0'))
                            .arg(c.green(), 2, 16, QLatin1Char('0'))
                            .arg(c.blue(), 2, 16, QLatin1Char('0'))
                            .toUpper();
    command(QStringLiteral("ForeColor"), false, rgb);
}

void HtmlEditorDialog::finish()
{
    if (m_finishing)
        return;
    m_finishing = true;
    const bool take =
        Prompts::question(this, QStringLiteral("Bestätigen"), QStringLiteral("Soll die Eingabe übernommen werden?"), false) == Prompts::Yes;
    done(take ? QDialog::Accepted : QDialog::Rejected);
    m_finishing = false;
}

void HtmlEditorDialog::reject()
{
    finish();
}

bool HtmlEditorDialog::eventFilter(QObject *watched, QEvent *event)
{
    // The browser's input widget may come later, or anew.
    if (event->type() == QEvent::ChildAdded && watched == m_web->webView())
        static_cast<QChildEvent *>(event)->child()->installEventFilter(this);
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
            finish();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void HtmlEditorDialog::closeEvent(QCloseEvent *event)
{
    if (isVisible() && !m_finishing) {
        event->ignore();
        finish();
        return;
    }
    QDialog::closeEvent(event);
}
