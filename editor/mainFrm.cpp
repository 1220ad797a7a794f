#include "mainFrm.h"

#include "aboutbox.h"
#include "artwork.h"
#include "colorbutton.h"
#include "embeddedview.h"
#include "export.h"
#include "formmailers.h"
#include "genhtml.h"
#include "links.h"
#include "paths.h"
#include "projectfile.h"
#include "prompts.h"
#include "quiz.h"
#include "settings.h"
#include "settingsbinding.h"
#include "splash.h"
#include "uErwEinstellungen.h"
#include "uFormMailerTemplates.h"
#include "uHtmlEdit.h"
#include "uInputAnswer.h"
#include "uPreviewWindow.h"
#include "uProjectSettings.h"
#include "uQuestionDialogs.h"
#include "updatewindow.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>

namespace {

const QString kUntitled = QStringLiteral("unbenannt.pvx");
const QString kProjectFilter = QStringLiteral("Pruvex Datei (*.pvx);;Alle Dateien (*.*)");

// Which controls a check box shows, and whether it shows them when checked.
struct VisibilityRule {
    QString key;
    QStringList controls;
    bool visibleWhenChecked;
};

const std::vector<VisibilityRule> &visibilityRules()
{
    static const std::vector<VisibilityRule> rules = [] {
        std::vector<VisibilityRule> r = {
            {QStringLiteral("chkShowAdress"), {QStringLiteral("gbAdressFields")}, true},
            {QStringLiteral("chkShowAuswertung"),
             {QStringLiteral("chkShowUserAnswers"), QStringLiteral("chkShowUserCorrectAnswers")},
             true},
            {QStringLiteral("chkPrintButton"), {QStringLiteral("edtPrint")}, true},
            {QStringLiteral("cboStandardButton"), {QStringLiteral("pButtonDesign")}, false},
            {QStringLiteral("cboStandardFeld"), {QStringLiteral("pCSSFormularfeld")}, false},
        };
        // Each address field's check box shows its panel.
        const auto &fields = Settings::addressFields();
        for (size_t i = 0; i < fields.size(); ++i)
            r.push_back({QLatin1String(fields[i].shown), {QLatin1String(TfrmMain::AddressPanels[i])}, true});
        return r;
    }();
    return rules;
}

// A chosen file name without an extension gets the dialog's own.
QString withExtension(const QString &path, const QString &suffix)
{
    return QFileInfo(path).suffix().isEmpty() ? path + suffix : path;
}

} // namespace

TfrmMain::TfrmMain(QWidget *parent)
    : QMainWindow(parent)
    , m_quiz(new Quiz(this))
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Pruvex 1.4"));
    setWindowIcon(Artwork::appIcon());
    Paths::ensureUserDataPath();

    createActions();
    createMenus();
    createToolBar();
    createTabs();

    auto *status = statusBar();
    status->setObjectName(QStringLiteral("StatusBar1"));
    status->setSizeGripEnabled(true);
    m_statusLabel = new QLabel(kUntitled);
    m_statusLabel->setObjectName(QStringLiteral("StatusBar1Text"));
    status->addWidget(m_statusLabel, 1);

    // The colour buttons show the quiz's colour values; a pick writes back.
    auto showColour = [this](const QString &name) {
        const TColor c = m_quiz->color(name);
        findChild<ColorButton *>(name)->setColor(QColor(Colours::red(c), Colours::green(c), Colours::blue(c)));
    };
    for (const ColourPair &pair : Colours::pairs()) {
        const QString name = QLatin1String(pair.button);
        showColour(name);
        connect(findChild<ColorButton *>(name), &ColorButton::colorChanged, this,
                [this, name](const QColor &col) { m_quiz->setColor(name, Colours::fromRgb(col.red(), col.green(), col.blue())); });
    }
    connect(m_quiz, &Quiz::colorChanged, this, showColour);

    m_binding = new SettingsBinding(*m_quiz, this);
    connect(m_quiz, &Quiz::settingChanged, this, &TfrmMain::applyVisibility);
    for (const VisibilityRule &rule : visibilityRules())
        applyVisibility(rule.key);

    auto *cboFormMailer = findChild<QComboBox *>(QStringLiteral("cboFormMailer"));
    auto fillMailers = [this, cboFormMailer] {
        const QString current = m_quiz->text(QStringLiteral("cboFormMailer"));
        const QSignalBlocker block(cboFormMailer);
        cboFormMailer->clear();
        cboFormMailer->addItems(m_quiz->formMailers());
        cboFormMailer->setEditText(current);
    };
    fillMailers();
    connect(m_quiz, &Quiz::formMailersChanged, this, fillMailers);

    connect(findChild<QToolButton *>(QStringLiteral("btGOCaptcha")), &QToolButton::clicked, this, [this] {
        Prompts::openUrl(QUrl(m_quiz->text(QStringLiteral("cboFormMailer")) + QStringLiteral("?action=checkurl"), QUrl::TolerantMode));
    });
    connect(qobject_cast<QAbstractButton *>(findChild<QWidget *>(QStringLiteral("btHelpFormMail"))), &QAbstractButton::clicked, this,
            [] { Prompts::openUrl(QUrl(QString::fromLatin1(Links::support))); });

    // The long-lived windows, created once and reused.
    m_about = new TAboutBox(this);
    m_antwort = new TfrmAntwort(this);
    m_einzField = new TfrmEinzField(*m_antwort, this);
    m_preview = new TfrmPreview(*this, this);
    m_checkQuestion = new TfrmCheckQuestion(*m_antwort, this);
    m_singleQuestion = new TfrmSingleQuestion(*m_antwort, this);
    for (TfrmQuestionDialog *d : {m_einzField, m_checkQuestion, m_singleQuestion})
        d->setHtmlEditor([](QWidget *parent, QString *text) { return TfrmHtmlEdit::editText(parent, text); });
    createQuestionCommands();

    // F1 opens the help at the topic of the tab in front.
    auto *f1 = new QShortcut(QKeySequence::HelpContents, this);
    connect(f1, &QShortcut::activated, this, [this] {
        static const QHash<QString, QString> topics = {{QStringLiteral("ts2"), QStringLiteral("fragen")},
                                                       {QStringLiteral("TabSheet3"), QStringLiteral("auswertung")},
                                                       {QStringLiteral("ts1"), QStringLiteral("design")},
                                                       {QStringLiteral("TabSheet1"), QStringLiteral("css")},
                                                       {QStringLiteral("Formularfelder"), QStringLiteral("adressfelder")},
                                                       {QStringLiteral("tsHTML"), QStringLiteral("html")},
                                                       {QStringLiteral("tsVorschau"), QStringLiteral("vorschau")}};
        openHelp(topics.value(PageControl1->currentWidget()->objectName()));
    });

    // The client area below the menu is 668 by 427 at start.
    resize(668, 427 + menuBar()->sizeHint().height());
}

TfrmMain::~TfrmMain() = default;

void TfrmMain::createActions()
{
    auto make = [this](QAction *&action, const char *name, const QString &text, const char *icon, const QString &tip) {
        action = new QAction(text, this);
        action->setObjectName(QLatin1String(name));
        if (icon)
            action->setIcon(Artwork::icon(QLatin1String(icon)));
        action->setStatusTip(tip);
    };
    make(actNeu, "actNeu", QStringLiteral("Neu"), "neu", QStringLiteral("Neues Quiz anlegen"));
    actNeu->setShortcut(QKeySequence(QStringLiteral("Ctrl+N")));
    make(actLoad, "actLoad", QStringLiteral("&Laden"), "laden", QStringLiteral("Quiz-Projekt laden"));
    actLoad->setShortcut(QKeySequence(QStringLiteral("Ctrl+O")));
    make(actSave, "actSave", QStringLiteral("&Speichern"), "speichern", QStringLiteral("Quiz-Projekt speichern"));
    actSave->setShortcut(QKeySequence(QStringLiteral("Ctrl+S")));
    make(actSaveAs, "actSaveAs", QStringLiteral("Speichern unter"), nullptr, QStringLiteral("Quiz-Projekt unter neuem Namen speichern"));
    make(actHTML, "actHTML", QStringLiteral("HTML Export"), "htmlexport", QStringLiteral("Quiz-Seite als HTML-Datei speichern"));
    make(Eigenschaften1, "Eigenschaften1", QStringLiteral("Eigensch&aften"), nullptr, QStringLiteral("Formulareigenschaften"));
    Eigenschaften1->setShortcut(QKeySequence(QStringLiteral("Ctrl+I")));
    make(ErweiterteEinstellungen1, "ErweiterteEinstellungen1", QStringLiteral("&Erweiterte Einstellungen"), nullptr,
         QStringLiteral("Erweiterte Formulareinstellungen"));
    make(actExit, "actExit", QStringLiteral("&Beenden"), "beenden", QStringLiteral("Pruvex beenden"));
    make(actCopyHtml, "actCopyHtml", QStringLiteral("Quelltext kopieren"), nullptr,
         QStringLiteral("HTML-Quelltext in die Zwischenablage kopieren"));
    make(FormmailerLinksverwalten1, "FormmailerLinksverwalten1", QStringLiteral("Formmailer-Links verwalten"), nullptr,
         QStringLiteral("Liste der QuizScript-Adressen bearbeiten"));
    make(actPreviewWindows, "actPreviewWindows", QStringLiteral("Vorschau Fenster"), "vorschau", QStringLiteral("Vorschau-Fenster öffnen"));
    make(actHelp, "actHelp", QStringLiteral("&Hilfe"), "hilfe", QStringLiteral("Hilfe öffnen"));
    make(AufneueVersionprfen1, "AufneueVersionprfen1", QStringLiteral("Auf neue Version prüfen"), nullptr,
         QStringLiteral("Im Internet nach einer neuen Version suchen"));
    make(actInfo, "actInfo", QStringLiteral("&Info"), "info", QStringLiteral("Informationen über Pruvex"));

    connect(actNeu, &QAction::triggered, this, [this] { actNeuExecute(); });
    connect(actLoad, &QAction::triggered, this, [this] { actLoadExecute(); });
    connect(actSave, &QAction::triggered, this, [this] { actSaveExecute(); });
    connect(actSaveAs, &QAction::triggered, this, [this] { actSaveAsExecute(); });
    connect(actHTML, &QAction::triggered, this, &TfrmMain::actHTMLExecute);
    connect(actExit, &QAction::triggered, this, &QWidget::close);
    connect(actCopyHtml, &QAction::triggered, this, &TfrmMain::actCopyHtmlExecute);
    connect(actPreviewWindows, &QAction::triggered, this, &TfrmMain::actPreviewWindowsExecute);
    connect(actHelp, &QAction::triggered, this, &TfrmMain::actHelpExecute);
    connect(AufneueVersionprfen1, &QAction::triggered, this, &TfrmMain::actUpdateCheckExecute);
    connect(actInfo, &QAction::triggered, this, &TfrmMain::actInfoExecute);
    connect(Eigenschaften1, &QAction::triggered, this, [this] { TfrmProjectSettings::edit(this, *m_quiz); });
    connect(ErweiterteEinstellungen1, &QAction::triggered, this, [this] { TfrmErwEinstellungen::edit(this, *m_quiz); });
    connect(FormmailerLinksverwalten1, &QAction::triggered, this, [this] {
        TfrmFormMailerTemplates::manage(this);
        // The drop-down follows the file, whatever the answer was.
        LoadFormmailers();
    });
}

void TfrmMain::createMenus()
{
    QMenuBar *bar = menuBar();
    QMenu *file = bar->addMenu(QStringLiteral("&Datei"));
    file->addAction(actNeu);
    file->addAction(actLoad);
    file->addAction(actSave);
    file->addAction(actSaveAs);
    file->addSeparator();
    file->addAction(actHTML);
    file->addSeparator();
    file->addAction(Eigenschaften1);
    file->addSeparator();
    file->addAction(ErweiterteEinstellungen1);
    file->addSeparator();
    file->addAction(actExit);
    bar->addMenu(QStringLiteral("&Bearbeiten"))->addAction(actCopyHtml);
    bar->addMenu(QStringLiteral("Einstellungen"))->addAction(FormmailerLinksverwalten1);
    bar->addMenu(QStringLiteral("&Ansicht"))->addAction(actPreviewWindows);
    QMenu *help = bar->addMenu(QStringLiteral("&Hilfe"));
    help->addAction(actHelp);
    help->addAction(AufneueVersionprfen1);
    help->addAction(actInfo);
}

void TfrmMain::createToolBar()
{
    QToolBar *bar = addToolBar(QStringLiteral("Werkzeugleiste"));
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    bar->setIconSize(QSize(16, 16));
    bar->setContextMenuPolicy(Qt::PreventContextMenu);
    const struct {
        QAction *action;
        const char *caption;
    } buttons[] = {{actNeu, "Neu"},    {actLoad, "Laden"},  {actSave, "Speichern"},          {actHTML, "HTML Export"},
                   {nullptr, nullptr}, {actHelp, "Hilfe"},  {actPreviewWindows, "Vorschau"}, {actInfo, "Info"},
                   {nullptr, nullptr}, {actExit, "Beenden"}};
    for (const auto &b : buttons) {
        if (!b.action) {
            bar->addSeparator();
            continue;
        }
        auto *button = new QToolButton(bar);
        button->setDefaultAction(b.action);
        button->setText(QString::fromUtf8(b.caption));
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setMinimumSize(70, 36);
        button->setMaximumHeight(36);
        button->setAutoRaise(true);
        button->setAccessibleName(QString::fromUtf8(b.caption));
        bar->addWidget(button);
    }
}

// ---- Start-up ----

void TfrmMain::startUp(const QString &projectPath, bool showSplash)
{
    if (showSplash)
        TfrmSplash::showModal(2000);
    FormMailers::seedUserFile();
    LoadFormmailers();
    if (!projectPath.isEmpty()) {
        if (loadProject(projectPath))
            setCurrentFile(true, QFileInfo(projectPath).absoluteFilePath(), QFileInfo(projectPath).absoluteFilePath());
        RefreshItemList();
    } else {
        LoadDefaultProject();
        setCurrentFile(false, QString(), kUntitled);
        RefreshItemList();
    }
}

void TfrmMain::LoadFormmailers()
{
    m_quiz->setFormMailers(FormMailers::readDropDownEntries(FormMailers::userFilePath()));
}

void TfrmMain::ColorToCombo(const QString &edit)
{
    m_quiz->ColorToCombo(edit);
}

// ---- Views that follow the quiz ----

void TfrmMain::RefreshItemList()
{
    itemList->clearSelection();
    itemList->setRowCount(0);
    const QuestionList &list = m_quiz->ListField();
    itemList->setRowCount(list.count());
    for (int i = 0; i < list.count(); ++i) {
        const TQuestion *q = list.at(i);
        auto *caption = new QTableWidgetItem(q->strBeschriftung);
        QString type;
        switch (q->kind()) {
        case QuestionKind::Simple:
            type = QStringLiteral("Einfache Frage");
            break;
        case QuestionKind::Multi:
            type = QStringLiteral("Multible Choice Frage");
            break;
        case QuestionKind::Single:
            type = QStringLiteral("Single Choice Frage");
            break;
        }
        itemList->setItem(i, 0, caption);
        itemList->setItem(i, 1, new QTableWidgetItem(type));
    }
    itemList->setCurrentCell(-1, -1);
}

void TfrmMain::applyVisibility(const QString &key)
{
    for (const VisibilityRule &rule : visibilityRules()) {
        if (key != rule.key)
            continue;
        const bool visible = m_quiz->flag(key) == rule.visibleWhenChecked;
        for (const QString &name : rule.controls)
            if (QWidget *w = findChild<QWidget *>(name))
                w->setVisible(visible);
    }
}

void TfrmMain::onTabChanged(int index)
{
    // A Design colour typed but not yet taken over has followed the focus,
    // which left the hidden page before this runs.
    QWidget *page = PageControl1->widget(index);
    if (page->objectName() == QLatin1String("tsHTML"))
        GenerateHTML();
    else if (page->objectName() == QLatin1String("tsVorschau"))
        tsVorschauEnter();
}

bool TfrmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut) {
        // The Design colours are taken over when their edit loses the focus,
        // not when a menu opens over it or another program is activated.
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        const ColourPair *pair = Colours::pairOfEdit(watched->objectName());
        if (pair && pair->design && reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
            ColorToCombo(watched->objectName());
    } else if (watched == memoHtml && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_A && (key->modifiers() & Qt::ControlModifier)) {
            memoHtml->selectAll();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---- The page ----

bool TfrmMain::GenerateHTML()
{
    return generate(true);
}

bool TfrmMain::GenerateHTMLQuietly()
{
    return generate(false);
}

bool TfrmMain::generate(bool reportErrors)
{
    HtmlGenerator generator(*m_quiz);
    QString page, error;
    if (!generator.GenHtmlPage(&page, &error)) {
        if (reportErrors)
            showError(QStringLiteral("Die Vorlage \"template.htm\" kann nicht gelesen werden.\n") + error);
        return false;
    }
    // Export, copy and the previews always generate first, so the page they
    // take is the one just put into the memo; it is kept, not read back.
    m_page = HtmlGenerator::normaliseLineBreaks(page);
    memoHtml->setPlainText(m_page);
    return true;
}

QString TfrmMain::pageText() const
{
    return m_page;
}

QString TfrmMain::pageEncoding() const
{
    return m_quiz->text(QStringLiteral("encoding"));
}

void TfrmMain::actHTMLExecute()
{
    if (!GenerateHTML())
        return;
    QString path = Prompts::saveFileName(this, QStringLiteral("HTML Export"), m_lastHtmlName, QStringLiteral("HTML Datei (*.htm)"));
    if (path.isEmpty())
        return;
    path = withExtension(path, QStringLiteral(".htm"));
    m_lastHtmlName = path;
    QString error;
    if (!ExportPage(pageText(), pageEncoding(), path, &error))
        showError(error);
}

void TfrmMain::actCopyHtmlExecute()
{
    if (!GenerateHTML())
        return;
    QApplication::clipboard()->setText(pageText());
    Prompts::message(this, QStringLiteral("Quelltext kopiert"), QStringLiteral("Quelltext wurde in die Zwischenablage kopiert."),
                     Prompts::Information);
}

void TfrmMain::tsVorschauEnter()
{
    refreshPreview(*this, *WebBrowser, previewTabFilePath());
}

void TfrmMain::actPreviewWindowsExecute()
{
    m_preview->open();
}

// ---- File commands ----

void TfrmMain::setCurrentFile(bool saved, const QString &path, const QString &status)
{
    bSaved = saved;
    strSavePath = path;
    m_statusLabel->setText(status);
}

QString TfrmMain::statusText() const
{
    return m_statusLabel->text();
}

bool TfrmMain::askSaveChanges()
{
    switch (Prompts::question(this, QStringLiteral("Speichern?"), QStringLiteral("Soll die aktuelle Datei gespeichert werden?"), true,
                              Prompts::Information)) {
    case Prompts::Yes:
        // The command goes on only when the quiz was really saved.
        return actSaveExecute();
    case Prompts::No:
        return true;
    default:
        return false;
    }
}

bool TfrmMain::loadProject(const QString &path)
{
    if (LoadProjectFile(*m_quiz, path))
        return true;
    Prompts::message(this, QStringLiteral("Pruvex"), ProjectFile::notAProjectMessage());
    return false;
}

bool TfrmMain::LoadDefaultProject()
{
    return loadProject(Paths::programFile(QStringLiteral("default.pvx")));
}

bool TfrmMain::writeProject(const QString &path)
{
    QString error;
    if (SaveProjectFile(*m_quiz, path, &error))
        return true;
    showError(error);
    return false;
}

void TfrmMain::showError(const QString &text)
{
    Prompts::message(this, QStringLiteral("Fehler"), text, Prompts::Critical);
}

bool TfrmMain::actNeuExecute()
{
    if (!askSaveChanges())
        return false;
    LoadDefaultProject();
    setCurrentFile(false, kUntitled, kUntitled);
    RefreshItemList();
    return true;
}

bool TfrmMain::actLoadExecute()
{
    if (!askSaveChanges())
        return false;
    const QString path = Prompts::openFileName(this, QStringLiteral("Öffnen"), m_lastLoadName, kProjectFilter);
    if (path.isEmpty())
        return false;
    m_lastLoadName = path;
    if (!QFileInfo::exists(path))
        return false;
    const bool ok = loadProject(path);
    // A failed load changed nothing, so the current file stays current too.
    if (ok)
        setCurrentFile(true, QFileInfo(path).absoluteFilePath(), QFileInfo(path).absoluteFilePath());
    RefreshItemList();
    return ok;
}

QString TfrmMain::askSavePath()
{
    const QString path = Prompts::saveFileName(this, QStringLiteral("Speichern unter"), m_lastSaveName, kProjectFilter);
    if (path.isEmpty())
        return path;
    m_lastSaveName = withExtension(path, QStringLiteral(".pvx"));
    return m_lastSaveName;
}

bool TfrmMain::actSaveExecute()
{
    if (bSaved && !strSavePath.isEmpty())
        return writeProject(strSavePath);
    const QString path = askSavePath();
    if (path.isEmpty() || !writeProject(path))
        return false;
    setCurrentFile(true, path, path);
    return true;
}

bool TfrmMain::actSaveAsExecute()
{
    const QString path = askSavePath();
    if (path.isEmpty())
        return false;
    setCurrentFile(true, path, path);
    return writeProject(path);
}

void TfrmMain::closeEvent(QCloseEvent *event)
{
    if (!askSaveChanges()) {
        event->ignore();
        return;
    }
    if (m_preview)
        m_preview->close();
    event->accept();
}

// ---- Help, info, update ----

void TfrmMain::actHelpExecute()
{
    openHelp(QString());
}

void TfrmMain::openHelp(const QString &topic)
{
    QUrl url = QUrl::fromLocalFile(Paths::programFile(QStringLiteral("pruvex-hilfe.html")));
    if (!topic.isEmpty())
        url.setFragment(topic);
    Prompts::openUrl(url);
}

void TfrmMain::actInfoExecute()
{
    m_about->exec();
}

void TfrmMain::actUpdateCheckExecute()
{
    TfrmUpdateInformation::check(this);
}

// ---- The question list ----

void TfrmMain::createQuestionCommands()
{
    const struct {
        const char *caption;
        QuestionKind kind;
    } kinds[] = {{"Single Choice Frage", QuestionKind::Single},
                 {"Multiple Choice Frage", QuestionKind::Multi},
                 {"Einfache Frage", QuestionKind::Simple}};
    for (const auto &k : kinds) {
        QAction *a = PopupNew->addAction(QString::fromUtf8(k.caption));
        const QuestionKind kind = k.kind;
        connect(a, &QAction::triggered, this, [this, kind] { newQuestion(kind); });
    }
    auto *popupFelder = new QMenu(itemList);
    popupFelder->setObjectName(QStringLiteral("PopupFelder"));
    QAction *neu = popupFelder->addAction(Artwork::icon(QStringLiteral("frage-neu")), QStringLiteral("&Neu"));
    QAction *edit = popupFelder->addAction(Artwork::icon(QStringLiteral("frage-bearbeiten")), QStringLiteral("&Bearbeiten"));
    QAction *del = popupFelder->addAction(Artwork::icon(QStringLiteral("frage-loeschen")), QStringLiteral("&Löschen"));
    connect(neu, &QAction::triggered, this, [this] { PopupNew->popup(QCursor::pos()); });
    connect(edit, &QAction::triggered, this, &TfrmMain::sbEditFieldClick);
    connect(del, &QAction::triggered, this, &TfrmMain::sbDelFieldClick);
    connect(itemList, &QWidget::customContextMenuRequested, this, [popupFelder] { popupFelder->popup(QCursor::pos()); });
    connect(itemList, &QTableWidget::cellDoubleClicked, this, &TfrmMain::sbEditFieldClick);
    connect(findChild<QToolButton *>(QStringLiteral("sbEditField")), &QToolButton::clicked, this, &TfrmMain::sbEditFieldClick);
    connect(findChild<QToolButton *>(QStringLiteral("sbDelField")), &QToolButton::clicked, this, &TfrmMain::sbDelFieldClick);
    connect(findChild<QToolButton *>(QStringLiteral("sbUp")), &QToolButton::clicked, this, &TfrmMain::sbUpClick);
    connect(findChild<QToolButton *>(QStringLiteral("sbDown")), &QToolButton::clicked, this, &TfrmMain::sbDownClick);
}

TfrmQuestionDialog *TfrmMain::questionDialog(QuestionKind kind) const
{
    switch (kind) {
    case QuestionKind::Simple:
        return m_einzField;
    case QuestionKind::Multi:
        return m_checkQuestion;
    case QuestionKind::Single:
        return m_singleQuestion;
    }
    return nullptr;
}

int TfrmMain::selectedQuestion() const
{
    const auto rows = itemList->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void TfrmMain::newQuestion(QuestionKind kind)
{
    TfrmQuestionDialog *dialog = questionDialog(kind);
    dialog->ClearAll();
    if (dialog->exec() == QDialog::Accepted) {
        std::unique_ptr<TQuestion> q = createQuestion(kind);
        dialog->SaveToObject(*q);
        m_quiz->ListField().append(std::move(q));
        m_quiz->notifyQuestionsChanged();
    }
    RefreshItemList();
}

void TfrmMain::sbEditFieldClick()
{
    const int i = selectedQuestion();
    if (i < 0)
        return;
    TQuestion *q = m_quiz->ListField().at(i);
    TfrmQuestionDialog *dialog = questionDialog(q->kind());
    dialog->ClearAll();
    dialog->LoadFromObject(*q);
    if (dialog->exec() == QDialog::Accepted) {
        dialog->SaveToObject(*q);
        m_quiz->notifyQuestionsChanged();
    }
    RefreshItemList();
}

void TfrmMain::sbDelFieldClick()
{
    const int i = selectedQuestion();
    if (i < 0)
        return;
    if (Prompts::question(this, QStringLiteral("Pruvex"), QStringLiteral("Soll der Eintrag wirklich gelöscht werden?"), false,
                          Prompts::Information) == Prompts::Yes) {
        m_quiz->ListField().removeAt(i);
        m_quiz->notifyQuestionsChanged();
    }
    RefreshItemList();
}

void TfrmMain::sbUpClick()
{
    const int i = selectedQuestion();
    if (i <= 0)
        return;
    m_quiz->ListField().swap(i, i - 1);
    m_quiz->notifyQuestionsChanged();
    RefreshItemList();
    itemList->selectRow(i - 1);
}

void TfrmMain::sbDownClick()
{
    const int i = selectedQuestion();
    if (i < 0 || i >= m_quiz->ListField().count() - 1)
        return;
    m_quiz->ListField().swap(i, i + 1);
    m_quiz->notifyQuestionsChanged();
    RefreshItemList();
    itemList->selectRow(i + 1);
}

void TfrmMain::editLongText(const QString &memoKey)
{
    QString text = m_quiz->text(memoKey);
    if (TfrmHtmlEdit::editText(this, &text))
        m_quiz->setText(memoKey, text);
}
