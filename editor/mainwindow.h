#pragma once

#include "aboutbox.h"
#include "generatedpage.h"
#include "pagesource.h"
#include "previewwindow.h"

#include "settings.h"

#include <QMainWindow>
#include <QPointer>

class Quiz;
class QAction;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTabWidget;
class QTableWidget;
class QMenu;
class EmbeddedView;
class SettingsBinding;
class PreviewWindow;
class AboutBox;
class ColorButton;
class AnswerDialog;
class QuestionDialog;
enum class QuestionKind;

// The editor's main window. It owns the one open quiz for the whole run and
// every command of the program starts here.
class MainWindow : public QMainWindow, public PageSource
{
    Q_OBJECT

public:
    // The property of a tab page that names its chapter in the help page.
    static constexpr const char *kHelpTopic = "helpTopic";

    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    Quiz &quiz() { return *m_quiz; }

    // The show step of the start-up: splash, address list, start project.
    void startUp(const QString &projectPath, bool showSplash);

    // PageSource: the page as every consumer takes it.
    bool generateHtml() override;
    bool generateHtmlQuietly() override;
    const GeneratedPage &page() const override;
    QString failureText() const override { return m_failureText; }
    QString pageText() const { return m_page.text; }

    void refreshItemList();
    void loadFormMailers();
    void colorToButton(SettingKey edit);

    // The commands. Those that can be stopped tell whether they went through.
    bool newFile();
    bool openFile();
    bool saveFile();
    bool saveFileAs();
    void exportHtml();
    void copyHtml();
    void showHelp();
    void openHelp(const QString &topic);
    void showAbout();
    void checkForUpdate();
    void showPreviewWindow();
    void showPreviewTab();

    bool m_saved = false;
    QString m_savePath;
    QString statusText() const;
    PreviewWindow *previewWindow() const { return m_preview; }
    AboutBox *aboutBox() const { return m_about; }

    // The question list on the tab "Fragen".
    void newQuestion(QuestionKind kind);
    void editQuestion();
    void deleteQuestion();
    void moveQuestionUp();
    void moveQuestionDown();
    int selectedQuestion() const;
    QuestionDialog *questionDialog(QuestionKind kind) const;
    AnswerDialog *answerDialog() const { return m_answerDialog; }

    // Edits a memo's whole text in the HTML text editor.
    void editLongText(SettingKey memoKey);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createActions();
    void createMenus();
    void createToolBar();
    void createTabs();
    void createQuestionCommands();
    QWidget *createQuestionsPage();
    QWidget *createEvaluationPage();
    QWidget *createDesignPage();
    QWidget *createCssPage();
    QWidget *createAddressPage();
    QWidget *createHtmlPage();
    QWidget *createPreviewPage();
    QWidget *headerStrip(const QString &caption);
    // The colour button paired with a colour edit.
    ColorButton *colorButtonFor(SettingKey edit);

    void applyVisibility(SettingKey key);
    void onTabChanged(int index);
    void setCurrentFile(bool saved, const QString &path, const QString &status);
    // The question before New, Load and closing. True when the caller may go on.
    bool askSaveChanges();
    bool loadProject(const QString &path);
    void reportUnreadableProject(const QString &reason = QString());
    bool writeProject(const QString &path);
    // The save dialog; the chosen path with ".pvx" when it had no extension,
    // or empty when cancelled.
    QString askSavePath();
    void showError(const QString &text);
    bool generate(bool reportErrors);

    Quiz *m_quiz;
    SettingsBinding *m_binding = nullptr;
    QTabWidget *m_tabs = nullptr;
    QTableWidget *m_questionList = nullptr;
    QPlainTextEdit *m_htmlText = nullptr;
    GeneratedPage m_page; // the last generated page, as the HTML tab shows it
    QString m_failureText; // why the last generation failed, for the previews
    EmbeddedView *m_previewView = nullptr;
    QLabel *m_statusLabel = nullptr;
    QPointer<PreviewWindow> m_preview;
    QPointer<AboutBox> m_about;
    AnswerDialog *m_answerDialog = nullptr;
    QuestionDialog *m_freeTextDialog = nullptr;
    QuestionDialog *m_multipleChoiceDialog = nullptr;
    QuestionDialog *m_singleChoiceDialog = nullptr;
    QMenu *m_newQuestionMenu = nullptr;
    QString m_lastSaveName = QStringLiteral("quiz.pvx");
    QString m_lastLoadName;
    QString m_lastHtmlName = QStringLiteral("quiz.htm");

    QAction *m_newAction = nullptr, *m_openAction = nullptr, *m_saveAction = nullptr, *m_saveAsAction = nullptr, *m_exportAction = nullptr;
    QAction *m_propertiesAction = nullptr, *m_advancedAction = nullptr, *m_exitAction = nullptr, *m_copyHtmlAction = nullptr;
    QAction *m_formMailersAction = nullptr, *m_previewWindowAction = nullptr, *m_helpAction = nullptr;
    QAction *m_updateAction = nullptr, *m_aboutAction = nullptr;
};
