#include "mainwindow.h"
#include "version.h"

#include "aboutbox.h"
#include "artwork.h"
#include "colorbutton.h"
#include "embeddedview.h"
#include "generatedpage.h"
#include "formmailers.h"
#include "pagegenerator.h"
#include "links.h"
#include "paths.h"
#include "projectfile.h"
#include "prompts.h"
#include "quiz.h"
#include "settings.h"
#include "settingsbinding.h"
#include "splashscreen.h"
#include "advancedsettingsdialog.h"
#include "formmailerlinkdialog.h"
#include "formmailermanager.h"
#include "htmleditordialog.h"
#include "answerdialog.h"
#include "previewwindow.h"
#include "projectpropertiesdialog.h"
#include "freetextquestiondialog.h"
#include "multiplechoicequestiondialog.h"
#include "singlechoicequestiondialog.h"
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
    SettingKey key;
    QStringList controls;
    bool visibleWhenChecked;
};

const std::vector<VisibilityRule> &visibilityRules()
{
    static const std::vector<VisibilityRule> rules = [] {
        std::vector<VisibilityRule> r = {
            {SettingKey::chkShowAdress, {QStringLiteral("gbAdressFields")}, true},
            {SettingKey::chkShowAuswertung,
             {QStringLiteral("chkShowUserAnswers"), QStringLiteral("chkShowUserCorrectAnswers")},
             true},
            {SettingKey::chkPrintButton, {QStringLiteral("edtPrint")}, true},
            {SettingKey::cboStandardButton, {QStringLiteral("pButtonDesign")}, false},
            {SettingKey::cboStandardFeld, {QStringLiteral("pCSSFormularfeld")}, false},
        };
        // Each address field's check box shows its panel.
        for (const AddressField &field : Settings::addressFields())
            r.push_back({field.shown, {QLatin1String(field.panel)}, true});
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

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , m_quiz(new Quiz(this))
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Pruvex " PRUVEX_VERSION));
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
        const ColorValue c = m_quiz->color(name);
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
    connect(m_quiz, &Quiz::settingChanged, this, &MainWindow::applyVisibility);
    for (const VisibilityRule &rule : visibilityRules())
        applyVisibility(rule.key);

    auto *cboFormMailer = findChild<QComboBox *>(QStringLiteral("cboFormMailer"));
    auto fillMailers = [this, cboFormMailer] {
        const QString current = m_quiz->text(SettingKey::cboFormMailer);
        const QSignalBlocker block(cboFormMailer);
        cboFormMailer->clear();
        cboFormMailer->addItems(m_quiz->formMailers());
        cboFormMailer->setEditText(current);
    };
    fillMailers();
    connect(m_quiz, &Quiz::formMailersChanged, this, fillMailers);

    connect(findChild<QToolButton *>(QStringLiteral("btGOCaptcha")), &QToolButton::clicked, this, [this] {
        FormMailerLinkDialog::testLink(this, m_quiz->text(SettingKey::cboFormMailer));
    });
    connect(qobject_cast<QAbstractButton *>(findChild<QWidget *>(QStringLiteral("btHelpFormMail"))), &QAbstractButton::clicked, this,
            [] { Prompts::openUrl(QUrl(QString::fromLatin1(Links::support))); });

    // The long-lived windows, created once and reused.
    m_about = new AboutBox(this);
    m_answerDialog = new AnswerDialog(this);
    m_freeTextDialog = new FreeTextQuestionDialog(*m_answerDialog, this);
    m_preview = new PreviewWindow(*this, this);
    m_multipleChoiceDialog = new MultipleChoiceQuestionDialog(*m_answerDialog, this);
    m_singleChoiceDialog = new SingleChoiceQuestionDialog(*m_answerDialog, this);
    for (QuestionDialog *d : {m_freeTextDialog, m_multipleChoiceDialog, m_singleChoiceDialog})
        d->setHtmlEditor([](QWidget *owner, QString *text) { return HtmlEditorDialog::editText(owner, text); });
    createQuestionCommands();

    // F1 opens the help at the topic of the tab in front.
    auto *f1 = new QShortcut(QKeySequence::HelpContents, this);
    connect(f1, &QShortcut::activated, this, [this] {
        openHelp(m_tabs->currentWidget()->property(kHelpTopic).toString());
    });

    // The client area below the menu is 668 by 427 at start.
    resize(668, 427 + menuBar()->sizeHint().height());
}

MainWindow::~MainWindow() = default;

void MainWindow::createActions()
{
    auto make = [this](QAction *&action, const char *name, const QString &text, const char *icon, const QString &tip) {
        action = new QAction(text, this);
        action->setObjectName(QLatin1String(name));
        if (icon)
            action->setIcon(Artwork::icon(QLatin1String(icon)));
        action->setStatusTip(tip);
    };
    make(m_newAction, "actNeu", QStringLiteral("Neu"), "neu", QStringLiteral("Neues Quiz anlegen"));
    m_newAction->setShortcut(QKeySequence(QStringLiteral("Ctrl+N")));
    make(m_openAction, "actLoad", QStringLiteral("&Laden"), "laden", QStringLiteral("Quiz-Projekt laden"));
    m_openAction->setShortcut(QKeySequence(QStringLiteral("Ctrl+O")));
    make(m_saveAction, "actSave", QStringLiteral("&Speichern"), "speichern", QStringLiteral("Quiz-Projekt speichern"));
    m_saveAction->setShortcut(QKeySequence(QStringLiteral("Ctrl+S")));
    make(m_saveAsAction, "actSaveAs", QStringLiteral("Speichern unter"), nullptr, QStringLiteral("Quiz-Projekt unter neuem Namen speichern"));
    make(m_exportAction, "actHTML", QStringLiteral("HTML Export"), "htmlexport", QStringLiteral("Quiz-Seite als HTML-Datei speichern"));
    make(m_propertiesAction, "Eigenschaften1", QStringLiteral("Eigensch&aften"), nullptr, QStringLiteral("Formulareigenschaften"));
    m_propertiesAction->setShortcut(QKeySequence(QStringLiteral("Ctrl+I")));
    make(m_advancedAction, "ErweiterteEinstellungen1", QStringLiteral("&Erweiterte Einstellungen"), nullptr,
         QStringLiteral("Erweiterte Formulareinstellungen"));
    make(m_exitAction, "actExit", QStringLiteral("&Beenden"), "beenden", QStringLiteral("Pruvex beenden"));
    make(m_copyHtmlAction, "actCopyHtml", QStringLiteral("Quelltext kopieren"), nullptr,
         QStringLiteral("HTML-Quelltext in die Zwischenablage kopieren"));
    make(m_formMailersAction, "FormmailerLinksverwalten1", QStringLiteral("Formmailer-Links verwalten"), nullptr,
         QStringLiteral("Liste der QuizScript-Adressen bearbeiten"));
    make(m_previewWindowAction, "actPreviewWindows", QStringLiteral("Vorschau Fenster"), "vorschau", QStringLiteral("Vorschau-Fenster öffnen"));
    make(m_helpAction, "actHelp", QStringLiteral("&Hilfe"), "hilfe", QStringLiteral("Hilfe öffnen"));
    make(m_updateAction, "AufneueVersionprfen1", QStringLiteral("Auf neue Version prüfen"), nullptr,
         QStringLiteral("Im Internet nach einer neuen Version suchen"));
    make(m_aboutAction, "actInfo", QStringLiteral("&Info"), "info", QStringLiteral("Informationen über Pruvex"));

    connect(m_newAction, &QAction::triggered, this, [this] { newFile(); });
    connect(m_openAction, &QAction::triggered, this, [this] { openFile(); });
    connect(m_saveAction, &QAction::triggered, this, [this] { saveFile(); });
    connect(m_saveAsAction, &QAction::triggered, this, [this] { saveFileAs(); });
    connect(m_exportAction, &QAction::triggered, this, &MainWindow::exportHtml);
    connect(m_exitAction, &QAction::triggered, this, &QWidget::close);
    connect(m_copyHtmlAction, &QAction::triggered, this, &MainWindow::copyHtml);
    connect(m_previewWindowAction, &QAction::triggered, this, &MainWindow::showPreviewWindow);
    connect(m_helpAction, &QAction::triggered, this, &MainWindow::showHelp);
    connect(m_updateAction, &QAction::triggered, this, &MainWindow::checkForUpdate);
    connect(m_aboutAction, &QAction::triggered, this, &MainWindow::showAbout);
    connect(m_propertiesAction, &QAction::triggered, this, [this] { ProjectPropertiesDialog::edit(this, *m_quiz); });
    connect(m_advancedAction, &QAction::triggered, this, [this] { AdvancedSettingsDialog::edit(this, *m_quiz); });
    connect(m_formMailersAction, &QAction::triggered, this, [this] {
        FormMailerManager::manage(this);
        // The drop-down follows the file, whatever the answer was.
        loadFormMailers();
    });
}

void MainWindow::createMenus()
{
    QMenuBar *bar = menuBar();
    QMenu *file = bar->addMenu(QStringLiteral("&Datei"));
    file->addAction(m_newAction);
    file->addAction(m_openAction);
    file->addAction(m_saveAction);
    file->addAction(m_saveAsAction);
    file->addSeparator();
    file->addAction(m_exportAction);
    file->addSeparator();
    file->addAction(m_propertiesAction);
    file->addSeparator();
    file->addAction(m_advancedAction);
    file->addSeparator();
    file->addAction(m_exitAction);
    bar->addMenu(QStringLiteral("&Bearbeiten"))->addAction(m_copyHtmlAction);
    bar->addMenu(QStringLiteral("Einstellungen"))->addAction(m_formMailersAction);
    bar->addMenu(QStringLiteral("&Ansicht"))->addAction(m_previewWindowAction);
    QMenu *help = bar->addMenu(QStringLiteral("&Hilfe"));
    help->addAction(m_helpAction);
    help->addAction(m_updateAction);
    help->addAction(m_aboutAction);
}

void MainWindow::createToolBar()
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
    } buttons[] = {{m_newAction, "Neu"},    {m_openAction, "Laden"},  {m_saveAction, "Speichern"},          {m_exportAction, "HTML Export"},
                   {nullptr, nullptr}, {m_helpAction, "Hilfe"},  {m_previewWindowAction, "Vorschau"}, {m_aboutAction, "Info"},
                   {nullptr, nullptr}, {m_exitAction, "Beenden"}};
    // The toolbar shows the menu's own actions; where its caption differs
    // from the menu's, the action's icon text holds it.
    for (const auto &b : buttons) {
        if (!b.action) {
            bar->addSeparator();
            continue;
        }
        const QString caption = QString::fromUtf8(b.caption);
        if (b.action->iconText() != caption)
            b.action->setIconText(caption);
        bar->addAction(b.action);
        if (auto *button = qobject_cast<QToolButton *>(bar->widgetForAction(b.action))) {
            button->setMinimumSize(70, 36);
            button->setMaximumHeight(36);
            button->setAccessibleName(caption);
        }
    }
}

// ---- Start-up ----

void MainWindow::startUp(const QString &projectPath, bool showSplash)
{
    if (showSplash)
        SplashScreen::showModal(2000);
    QString reason;
    if (!projectPath.isEmpty()) {
        if (openProject(*m_quiz, projectPath, &reason))
            setCurrentFile(true, QFileInfo(projectPath).absoluteFilePath(), QFileInfo(projectPath).absoluteFilePath());
        else
            reportUnreadableProject(reason);
    } else {
        if (!newQuiz(*m_quiz, &reason))
            reportUnreadableProject(reason);
        setCurrentFile(false, QString(), kUntitled);
    }
    refreshItemList();
}

void MainWindow::loadFormMailers()
{
    FormMailers::loadInto(*m_quiz);
}

void MainWindow::colorToButton(SettingKey edit)
{
    m_quiz->colorToButton(edit);
}

// ---- Views that follow the quiz ----

void MainWindow::refreshItemList()
{
    m_questionList->clearSelection();
    m_questionList->setRowCount(0);
    const QuestionList &list = m_quiz->questions();
    m_questionList->setRowCount(list.count());
    for (int i = 0; i < list.count(); ++i) {
        const Question *q = list.at(i);
        auto *caption = new QTableWidgetItem(q->caption);
        QString type;
        switch (q->kind()) {
        case QuestionKind::FreeText:
            type = QStringLiteral("Einfache Frage");
            break;
        case QuestionKind::MultipleChoice:
            type = QStringLiteral("Multible Choice Frage");
            break;
        case QuestionKind::SingleChoice:
            type = QStringLiteral("Single Choice Frage");
            break;
        }
        m_questionList->setItem(i, 0, caption);
        m_questionList->setItem(i, 1, new QTableWidgetItem(type));
    }
    m_questionList->setCurrentCell(-1, -1);
}

void MainWindow::applyVisibility(SettingKey key)
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

void MainWindow::onTabChanged(int index)
{
    // A Design colour typed but not yet taken over has followed the focus,
    // which left the hidden page before this runs.
    QWidget *page = m_tabs->widget(index);
    if (page->objectName() == QLatin1String("tsHTML"))
        generateHtml();
    else if (page->objectName() == QLatin1String("tsVorschau"))
        showPreviewTab();
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut) {
        // The Design colours are taken over when their edit loses the focus,
        // not when a menu opens over it or another program is activated.
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        const std::optional<SettingKey> key = Settings::keyOf(watched->objectName());
        const ColourPair *pair = key ? Colours::pairOfEdit(*key) : nullptr;
        if (pair && pair->design && reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
            colorToButton(*key);
    } else if (watched == m_htmlText && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_A && (key->modifiers() & Qt::ControlModifier)) {
            m_htmlText->selectAll();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---- The page ----

bool MainWindow::generateHtml()
{
    return generate(true);
}

bool MainWindow::generateHtmlQuietly()
{
    return generate(false);
}

bool MainWindow::generate(bool reportErrors)
{
    QString error;
    PageGenerator::Failure failure = PageGenerator::Failure::None;
    m_failureText.clear();
    if (!generatePage(*m_quiz, &m_page, &error, {}, &failure)) {
        // Only a page too large or out of memory is shown by the previews.
        if (failure == PageGenerator::Failure::Template)
            error = QStringLiteral("Die Vorlage \"template.htm\" kann nicht gelesen werden.\n") + error;
        else
            m_failureText = error;
        if (reportErrors)
            showError(error);
        return false;
    }
    // Export, copy and the previews always generate first, so the page they
    // take is the one just put into the memo; it is kept, not read back.
    m_htmlText->setPlainText(m_page.text);
    return true;
}

const GeneratedPage &MainWindow::page() const
{
    return m_page;
}

void MainWindow::exportHtml()
{
    if (!generateHtml())
        return;
    QString path = Prompts::saveFileName(this, QStringLiteral("HTML Export"), m_lastHtmlName, QStringLiteral("HTML Datei (*.htm)"));
    if (path.isEmpty())
        return;
    path = withExtension(path, QStringLiteral(".htm"));
    m_lastHtmlName = path;
    QString error;
    if (!exportPage(m_page, path, &error))
        showError(error);
}

void MainWindow::copyHtml()
{
    if (!generateHtml())
        return;
    QApplication::clipboard()->setText(m_page.text);
    Prompts::message(this, QStringLiteral("Quelltext kopiert"), QStringLiteral("Quelltext wurde in die Zwischenablage kopiert."),
                     Prompts::Information);
}

void MainWindow::showPreviewTab()
{
    refreshPreview(*this, *m_previewView, previewTabFilePath());
}

void MainWindow::showPreviewWindow()
{
    m_preview->open();
}

// ---- File commands ----

void MainWindow::setCurrentFile(bool saved, const QString &path, const QString &status)
{
    m_saved = saved;
    m_savePath = path;
    m_statusLabel->setText(status);
}

QString MainWindow::statusText() const
{
    return m_statusLabel->text();
}

bool MainWindow::askSaveChanges()
{
    switch (Prompts::question(this, QStringLiteral("Speichern?"), QStringLiteral("Soll die aktuelle Datei gespeichert werden?"), true,
                              Prompts::Information)) {
    case Prompts::Yes:
        // The command goes on only when the quiz was really saved.
        return saveFile();
    case Prompts::No:
        return true;
    default:
        return false;
    }
}

void MainWindow::reportUnreadableProject(const QString &reason)
{
    Prompts::message(this, QStringLiteral("Pruvex"),
                     reason.isEmpty() ? ProjectFile::notAProjectMessage() : ProjectFile::notAProjectMessage() + QLatin1Char('\n') + reason);
}

bool MainWindow::loadProject(const QString &path)
{
    QString reason;
    if (loadProjectFile(*m_quiz, path, &reason))
        return true;
    reportUnreadableProject(reason);
    return false;
}

bool MainWindow::writeProject(const QString &path)
{
    QString error;
    if (saveProjectFile(*m_quiz, path, &error))
        return true;
    showError(error);
    return false;
}

void MainWindow::showError(const QString &text)
{
    Prompts::message(this, QStringLiteral("Fehler"), text, Prompts::Critical);
}

bool MainWindow::newFile()
{
    if (!askSaveChanges())
        return false;
    QString reason;
    if (!::loadDefaultProject(*m_quiz, &reason))
        reportUnreadableProject(reason);
    setCurrentFile(false, kUntitled, kUntitled);
    refreshItemList();
    return true;
}

bool MainWindow::openFile()
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
    refreshItemList();
    return ok;
}

QString MainWindow::askSavePath()
{
    const QString path = Prompts::saveFileName(this, QStringLiteral("Speichern unter"), m_lastSaveName, kProjectFilter);
    if (path.isEmpty())
        return path;
    m_lastSaveName = withExtension(path, QStringLiteral(".pvx"));
    return m_lastSaveName;
}

bool MainWindow::saveFile()
{
    if (m_saved && !m_savePath.isEmpty())
        return writeProject(m_savePath);
    const QString path = askSavePath();
    if (path.isEmpty() || !writeProject(path))
        return false;
    setCurrentFile(true, path, path);
    return true;
}

bool MainWindow::saveFileAs()
{
    const QString path = askSavePath();
    if (path.isEmpty())
        return false;
    setCurrentFile(true, path, path);
    return writeProject(path);
}

void MainWindow::closeEvent(QCloseEvent *event)
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

void MainWindow::showHelp()
{
    openHelp(QString());
}

void MainWindow::openHelp(const QString &topic)
{
    QUrl url = QUrl::fromLocalFile(Paths::programFile(QStringLiteral("pruvex-hilfe.html")));
    if (!topic.isEmpty())
        url.setFragment(topic);
    Prompts::openUrl(url);
}

void MainWindow::showAbout()
{
    m_about->exec();
}

void MainWindow::checkForUpdate()
{
    UpdateWindow::check(this);
}

// ---- The question list ----

void MainWindow::createQuestionCommands()
{
    const struct {
        const char *caption;
        QuestionKind kind;
    } kinds[] = {{"Single Choice Frage", QuestionKind::SingleChoice},
                 {"Multiple Choice Frage", QuestionKind::MultipleChoice},
                 {"Einfache Frage", QuestionKind::FreeText}};
    for (const auto &k : kinds) {
        QAction *a = m_newQuestionMenu->addAction(QString::fromUtf8(k.caption));
        const QuestionKind kind = k.kind;
        connect(a, &QAction::triggered, this, [this, kind] { newQuestion(kind); });
    }
    auto *popupFelder = new QMenu(m_questionList);
    popupFelder->setObjectName(QStringLiteral("PopupFelder"));
    QAction *neu = popupFelder->addAction(Artwork::icon(QStringLiteral("frage-neu")), QStringLiteral("&Neu"));
    QAction *edit = popupFelder->addAction(Artwork::icon(QStringLiteral("frage-bearbeiten")), QStringLiteral("&Bearbeiten"));
    QAction *del = popupFelder->addAction(Artwork::icon(QStringLiteral("frage-loeschen")), QStringLiteral("&Löschen"));
    connect(neu, &QAction::triggered, this, [this] { m_newQuestionMenu->popup(QCursor::pos()); });
    connect(edit, &QAction::triggered, this, &MainWindow::editQuestion);
    connect(del, &QAction::triggered, this, &MainWindow::deleteQuestion);
    connect(m_questionList, &QWidget::customContextMenuRequested, this, [popupFelder] { popupFelder->popup(QCursor::pos()); });
    connect(m_questionList, &QTableWidget::cellDoubleClicked, this, &MainWindow::editQuestion);
    connect(findChild<QToolButton *>(QStringLiteral("sbEditField")), &QToolButton::clicked, this, &MainWindow::editQuestion);
    connect(findChild<QToolButton *>(QStringLiteral("sbDelField")), &QToolButton::clicked, this, &MainWindow::deleteQuestion);
    connect(findChild<QToolButton *>(QStringLiteral("sbUp")), &QToolButton::clicked, this, &MainWindow::moveQuestionUp);
    connect(findChild<QToolButton *>(QStringLiteral("sbDown")), &QToolButton::clicked, this, &MainWindow::moveQuestionDown);
}

QuestionDialog *MainWindow::questionDialog(QuestionKind kind) const
{
    switch (kind) {
    case QuestionKind::FreeText:
        return m_freeTextDialog;
    case QuestionKind::MultipleChoice:
        return m_multipleChoiceDialog;
    case QuestionKind::SingleChoice:
        return m_singleChoiceDialog;
    }
    return nullptr;
}

int MainWindow::selectedQuestion() const
{
    const auto rows = m_questionList->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void MainWindow::newQuestion(QuestionKind kind)
{
    QuestionDialog *dialog = questionDialog(kind);
    dialog->clear();
    if (dialog->exec() == QDialog::Accepted) {
        std::unique_ptr<Question> q = createQuestion(kind);
        dialog->saveQuestion(*q);
        m_quiz->questions().append(std::move(q));
        m_quiz->notifyQuestionsChanged();
    }
    refreshItemList();
}

void MainWindow::editQuestion()
{
    const int i = selectedQuestion();
    if (i < 0)
        return;
    Question *q = m_quiz->questions().at(i);
    QuestionDialog *dialog = questionDialog(q->kind());
    dialog->clear();
    dialog->loadQuestion(*q);
    if (dialog->exec() == QDialog::Accepted) {
        dialog->saveQuestion(*q);
        m_quiz->notifyQuestionsChanged();
    }
    refreshItemList();
}

void MainWindow::deleteQuestion()
{
    const int i = selectedQuestion();
    if (i < 0)
        return;
    if (Prompts::question(this, QStringLiteral("Pruvex"), QStringLiteral("Soll der Eintrag wirklich gelöscht werden?"), false,
                          Prompts::Information) == Prompts::Yes) {
        m_quiz->questions().removeAt(i);
        m_quiz->notifyQuestionsChanged();
    }
    refreshItemList();
}

void MainWindow::moveQuestionUp()
{
    const int i = selectedQuestion();
    if (i <= 0)
        return;
    m_quiz->questions().swap(i, i - 1);
    m_quiz->notifyQuestionsChanged();
    refreshItemList();
    m_questionList->selectRow(i - 1);
}

void MainWindow::moveQuestionDown()
{
    const int i = selectedQuestion();
    if (i < 0 || i >= m_quiz->questions().count() - 1)
        return;
    m_quiz->questions().swap(i, i + 1);
    m_quiz->notifyQuestionsChanged();
    refreshItemList();
    m_questionList->selectRow(i + 1);
}

void MainWindow::editLongText(SettingKey memoKey)
{
    QString text = m_quiz->text(memoKey);
    if (HtmlEditorDialog::editText(this, &text))
        m_quiz->setText(memoKey, text);
}
