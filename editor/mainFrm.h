#pragma once

#include "aboutbox.h"
#include "preview.h"
#include "uPreviewWindow.h"

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
class TfrmPreview;
class TAboutBox;
class ColorButton;
class TfrmAntwort;
class TfrmQuestionDialog;
enum class QuestionKind;

// The editor's main window. It owns the one open quiz for the whole run and
// every command of the program starts here.
class TfrmMain : public QMainWindow, public PageSource
{
    Q_OBJECT

public:
    explicit TfrmMain(QWidget *parent = nullptr);
    ~TfrmMain() override;

    Quiz &quiz() { return *m_quiz; }

    // The show step of the start-up: splash, address list, start project.
    void startUp(const QString &projectPath, bool showSplash);

    // PageSource: the page as every consumer takes it.
    bool GenerateHTML() override;
    bool GenerateHTMLQuietly() override;
    QString pageText() const override;
    QString pageEncoding() const override;

    void RefreshItemList();
    void LoadFormmailers();
    void ColorToCombo(const QString &edit);

    // The commands. Those that can be stopped tell whether they went through.
    bool actNeuExecute();
    bool actLoadExecute();
    bool actSaveExecute();
    bool actSaveAsExecute();
    void actHTMLExecute();
    void actCopyHtmlExecute();
    void actHelpExecute();
    void openHelp(const QString &topic);
    void actInfoExecute();
    void actUpdateCheckExecute();
    void actPreviewWindowsExecute();
    void tsVorschauEnter();

    bool bSaved = false;
    QString strSavePath;
    QString statusText() const;
    TfrmPreview *previewWindow() const { return m_preview; }
    TAboutBox *aboutBox() const { return m_about; }

    // The question list on the tab "Fragen".
    void newQuestion(QuestionKind kind);
    void sbEditFieldClick();
    void sbDelFieldClick();
    void sbUpClick();
    void sbDownClick();
    int selectedQuestion() const;
    TfrmQuestionDialog *questionDialog(QuestionKind kind) const;
    TfrmAntwort *answerDialog() const { return m_antwort; }

    // The panel that holds each address field's caption and check, in the
    // order of Settings::addressFields().
    static constexpr const char *AddressPanels[] = {"pnlName", "pnlVorname", "pnlStreet", "pnlPLZ", "pnlOrt", "pnlLand", "pnlEmail"};

    // Edits a memo's whole text in the HTML text editor.
    void editLongText(const QString &memoKey);

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
    ColorButton *colorButtonFor(const char *edit);

    void applyVisibility(const QString &key);
    void onTabChanged(int index);
    void setCurrentFile(bool saved, const QString &path, const QString &status);
    // The question before New, Load and closing. True when the caller may go on.
    bool askSaveChanges();
    bool loadProject(const QString &path);
    bool LoadDefaultProject();
    bool writeProject(const QString &path);
    // The save dialog; the chosen path with ".pvx" when it had no extension,
    // or empty when cancelled.
    QString askSavePath();
    void showError(const QString &text);
    bool generate(bool reportErrors);

    Quiz *m_quiz;
    SettingsBinding *m_binding = nullptr;
    QTabWidget *PageControl1 = nullptr;
    QTableWidget *itemList = nullptr;
    QPlainTextEdit *memoHtml = nullptr;
    QString m_page; // the last generated page, as memoHtml shows it
    EmbeddedView *WebBrowser = nullptr;
    QLabel *m_statusLabel = nullptr;
    QPointer<TfrmPreview> m_preview;
    QPointer<TAboutBox> m_about;
    TfrmAntwort *m_antwort = nullptr;
    TfrmQuestionDialog *m_einzField = nullptr;
    TfrmQuestionDialog *m_checkQuestion = nullptr;
    TfrmQuestionDialog *m_singleQuestion = nullptr;
    QMenu *PopupNew = nullptr;
    QString m_lastSaveName = QStringLiteral("quiz.pvx");
    QString m_lastLoadName;
    QString m_lastHtmlName = QStringLiteral("quiz.htm");

    QAction *actNeu = nullptr, *actLoad = nullptr, *actSave = nullptr, *actSaveAs = nullptr, *actHTML = nullptr;
    QAction *Eigenschaften1 = nullptr, *ErweiterteEinstellungen1 = nullptr, *actExit = nullptr, *actCopyHtml = nullptr;
    QAction *FormmailerLinksverwalten1 = nullptr, *actPreviewWindows = nullptr, *actHelp = nullptr;
    QAction *AufneueVersionprfen1 = nullptr, *actInfo = nullptr;
};
