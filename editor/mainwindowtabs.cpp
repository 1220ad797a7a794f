// The seven tab pages of the main window. Every control that shows a setting
// carries the setting's key as its object name; SettingsBinding ties it to
// the quiz.

#include "artwork.h"
#include "colorbutton.h"
#include "embeddedview.h"
#include "mainwindow.h"
#include "numberedit.h"
#include "quiz.h"
#include "settings.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QString captionOf(SettingKey key)
{
    return QString::fromUtf8(Settings::def(key).caption);
}

QLabel *label(const QString &text, QWidget *buddy = nullptr)
{
    auto *l = new QLabel(text);
    if (buddy) {
        l->setBuddy(buddy);
        if (buddy->accessibleName().isEmpty())
            buddy->setAccessibleName(QString(text).remove(QLatin1Char('&')).remove(QLatin1Char(':')).trimmed());
    }
    return l;
}

QLineEdit *lineEdit(SettingKey key)
{
    auto *e = new QLineEdit;
    e->setObjectName(Settings::keyName(key));
    if (Settings::def(key).kind == SettingKind::Colour) {
        e->setMaxLength(6);
        e->setFixedWidth(70);
    }
    return e;
}

QPlainTextEdit *memo(SettingKey key)
{
    auto *m = new QPlainTextEdit;
    m->setObjectName(Settings::keyName(key));
    m->setTabChangesFocus(true);
    m->setMinimumHeight(48);
    return m;
}

QComboBox *combo(SettingKey key)
{
    auto *c = new QComboBox;
    c->setObjectName(Settings::keyName(key));
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    // Long items must not widen the page beyond the window.
    c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    c->setMinimumContentsLength(10);
    c->addItems(Settings::items(Settings::def(key).items));
    return c;
}

NumberEdit *number(SettingKey key)
{
    auto *n = new NumberEdit;
    n->setObjectName(Settings::keyName(key));
    const SettingDef *def = &Settings::def(key);
    if (def->hasRange)
        n->setRange(def->minimum, def->maximum);
    n->setFixedWidth(64);
    return n;
}

QCheckBox *check(SettingKey key, const QString &caption = QString())
{
    auto *c = new QCheckBox(caption.isNull() ? captionOf(key) : caption);
    c->setObjectName(Settings::keyName(key));
    return c;
}

QPushButton *dotsButton(const char *name, const QString &accessible)
{
    auto *b = new QPushButton(QStringLiteral("..."));
    b->setObjectName(QLatin1String(name));
    b->setFixedWidth(28);
    b->setAccessibleName(accessible);
    b->setToolTip(accessible);
    return b;
}

QWidget *row(std::initializer_list<QWidget *> widgets, bool stretch = true)
{
    auto *w = new QWidget;
    auto *l = new QHBoxLayout(w);
    l->setContentsMargins(0, 0, 0, 0);
    l->setSpacing(4);
    for (QWidget *x : widgets)
        l->addWidget(x);
    if (stretch)
        l->addStretch(1);
    return w;
}

QFormLayout *compactForm(QWidget *parent = nullptr)
{
    auto *f = new QFormLayout(parent);
    f->setContentsMargins(6, 6, 6, 6);
    f->setHorizontalSpacing(6);
    f->setVerticalSpacing(4);
    f->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    f->setLabelAlignment(Qt::AlignLeft);
    return f;
}

// A page whose contents scroll when the window is smaller than they need.
QWidget *scrollPage(QWidget *header, QWidget *content)
{
    auto *page = new QWidget;
    auto *v = new QVBoxLayout(page);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);
    if (header)
        v->addWidget(header);
    auto *scroll = new QScrollArea;
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(content);
    v->addWidget(scroll, 1);
    return page;
}

} // namespace

QWidget *MainWindow::headerStrip(const QString &caption)
{
    auto *l = new QLabel(caption);
    QFont f = l->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() + 1);
    l->setFont(f);
    l->setContentsMargins(8, 4, 8, 4);
    l->setAutoFillBackground(true);
    l->setStyleSheet(QStringLiteral("QLabel { background: #1F4E79; color: white; }"));
    return l;
}

ColorButton *MainWindow::colorButtonFor(SettingKey edit)
{
    auto *b = new ColorButton;
    b->setObjectName(QLatin1String(Colours::pairOfEdit(edit)->button));
    b->setAccessibleName(captionOf(edit) + QStringLiteral(" Farbwahl"));
    return b;
}

void MainWindow::createTabs()
{
    m_tabs = new QTabWidget;
    m_tabs->setObjectName(QStringLiteral("PageControl1"));
    struct Page {
        QWidget *widget;
        const char *name;
        const char *caption;
        const char *helpTopic; // the anchor of the tab's chapter in the help page
    };
    const Page pages[] = {
        {createQuestionsPage(), "ts2", "Fragen", "fragen"},
        {createEvaluationPage(), "TabSheet3", "Auswertung + Spamschutz", "auswertung"},
        {createDesignPage(), "ts1", "Design", "design"},
        {createCssPage(), "TabSheet1", "CSS / Buttons", "css"},
        {createAddressPage(), "Formularfelder", "Adressfelder", "adressfelder"},
        {createHtmlPage(), "tsHTML", "HTML", "html"},
        {createPreviewPage(), "tsVorschau", "Vorschau", "vorschau"},
    };
    for (const Page &p : pages) {
        p.widget->setObjectName(QLatin1String(p.name));
        p.widget->setProperty(kHelpTopic, QLatin1String(p.helpTopic));
        m_tabs->addTab(p.widget, QString::fromUtf8(p.caption));
    }
    m_tabs->setCurrentIndex(0);
    setCentralWidget(m_tabs);
    connect(m_tabs, &QTabWidget::currentChanged, this, &MainWindow::onTabChanged);
}

QWidget *MainWindow::createQuestionsPage()
{
    auto *content = new QWidget;
    auto *v = new QVBoxLayout(content);
    v->setContentsMargins(6, 6, 6, 6);
    v->setSpacing(4);

    auto *sbNew = new QToolButton;
    sbNew->setObjectName(QStringLiteral("sbNew"));
    sbNew->setText(QStringLiteral("Neu"));
    sbNew->setIcon(Artwork::icon(QStringLiteral("frage-neu")));
    sbNew->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    sbNew->setPopupMode(QToolButton::InstantPopup);
    m_newQuestionMenu = new QMenu(sbNew);
    m_newQuestionMenu->setObjectName(QStringLiteral("PopupNew"));
    sbNew->setMenu(m_newQuestionMenu);
    sbNew->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(sbNew, &QWidget::customContextMenuRequested, this, [this] { m_newQuestionMenu->popup(QCursor::pos()); });

    auto makeButton = [](const char *name, const QString &text, const char *icon, const QString &accessible) {
        auto *b = new QToolButton;
        b->setObjectName(QLatin1String(name));
        b->setText(text);
        b->setIcon(Artwork::icon(QLatin1String(icon)));
        b->setToolButtonStyle(text.isEmpty() ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextBesideIcon);
        b->setAccessibleName(accessible);
        b->setToolTip(accessible);
        b->setFocusPolicy(Qt::StrongFocus);
        return b;
    };
    sbNew->setFocusPolicy(Qt::StrongFocus);
    sbNew->setAccessibleName(QStringLiteral("Neue Frage"));
    QToolButton *sbEditField =
        makeButton("sbEditField", QStringLiteral("Bearbeiten"), "frage-bearbeiten", QStringLiteral("Frage bearbeiten"));
    QToolButton *sbDelField = makeButton("sbDelField", QStringLiteral("Löschen"), "frage-loeschen", QStringLiteral("Frage löschen"));
    QToolButton *sbUp = makeButton("sbUp", QString(), "hoch", QStringLiteral("Frage nach oben"));
    QToolButton *sbDown = makeButton("sbDown", QString(), "runter", QStringLiteral("Frage nach unten"));
    v->addWidget(row({sbNew, sbEditField, sbDelField, sbUp, sbDown}));

    m_questionList = new QTableWidget(0, 2);
    m_questionList->setObjectName(QStringLiteral("itemList"));
    m_questionList->setHorizontalHeaderLabels({QStringLiteral("Beschriftung"), QStringLiteral("Typ")});
    m_questionList->verticalHeader()->hide();
    m_questionList->setShowGrid(true);
    m_questionList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_questionList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_questionList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_questionList->setWordWrap(false);
    m_questionList->verticalHeader()->setDefaultSectionSize(m_questionList->fontMetrics().height() + 8);
    m_questionList->setColumnWidth(0, 455);
    m_questionList->setColumnWidth(1, 200);
    // The caption column takes what the type column leaves, so that the list
    // needs no horizontal scrolling at the start size.
    m_questionList->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_questionList->horizontalHeader()->setHighlightSections(false);
    m_questionList->setAccessibleName(QStringLiteral("Fragenliste"));
    m_questionList->setContextMenuPolicy(Qt::CustomContextMenu);
    v->addWidget(m_questionList, 1);

    auto *page = new QWidget;
    auto *pv = new QVBoxLayout(page);
    pv->setContentsMargins(0, 0, 0, 0);
    pv->setSpacing(0);
    pv->addWidget(headerStrip(QStringLiteral("Fragen")));
    pv->addWidget(content, 1);
    return page;
}

QWidget *MainWindow::createEvaluationPage()
{
    auto *content = new QWidget;
    auto *grid = new QGridLayout(content);
    grid->setContentsMargins(6, 6, 6, 6);
    grid->setSpacing(6);

    // E-Mail Einstellungen
    auto *mail = new QGroupBox(QStringLiteral("E-Mail Einstellungen"));
    auto *mf = compactForm(mail);
    QLineEdit *edtEMail = lineEdit(SettingKey::edtEMail);
    QLineEdit *edtBetreff = lineEdit(SettingKey::edtBetreff);
    mf->addRow(label(captionOf(SettingKey::edtEMail), edtEMail), edtEMail);
    mf->addRow(label(captionOf(SettingKey::edtBetreff), edtBetreff), edtBetreff);
    auto *note = new QLabel(QStringLiteral("an diese E-Mail-Adressen wird das Ergebnis geschickt\n"
                                           "lassen Sie das E-Mail Feld leer, wenn Sie das Ergebnis nicht\n"
                                           "per E-Mail zugeschickt bekommen wollen."));
    QFont small = note->font();
    small.setPointSizeF(small.pointSizeF() - 1);
    note->setFont(small);
    note->setWordWrap(true);
    // The note wraps to the column's width instead of widening the page.
    QSizePolicy notePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    notePolicy.setHeightForWidth(true);
    note->setSizePolicy(notePolicy);
    mf->addRow(note);
    mf->addRow(check(SettingKey::chkShowAuswertung));
    mf->addRow(check(SettingKey::chkShowUserAnswers));
    mf->addRow(check(SettingKey::chkShowUserCorrectAnswers));
    grid->addWidget(mail, 0, 0);

    // Spamschutz
    auto *spam = new QGroupBox(QStringLiteral("Spamschutz"));
    auto *sg = new QGridLayout(spam);
    sg->setContentsMargins(6, 6, 6, 6);
    sg->setAlignment(Qt::AlignTop);
    sg->addWidget(check(SettingKey::chkCaptcha), 0, 0, 1, 2);
    QLineEdit *edtCaptchaText1 = lineEdit(SettingKey::edtCaptchaText1);
    sg->addWidget(label(captionOf(SettingKey::edtCaptchaText1), edtCaptchaText1), 1, 0);
    sg->addWidget(edtCaptchaText1, 1, 1);
    auto *sample = new QLabel;
    sample->setPixmap(Artwork::captchaSample());
    sample->setAccessibleName(QStringLiteral("Beispiel eines Captchas"));
    sg->addWidget(sample, 2, 1, Qt::AlignLeft);
    sg->setColumnStretch(1, 1);
    grid->addWidget(spam, 1, 0);

    // Einstellungen Auswertungsseite / QuizScript
    auto *script = new QGroupBox(QStringLiteral("Einstellungen Auswertungsseite / QuizScript"));
    auto *sf = new QGridLayout(script);
    sf->setContentsMargins(6, 6, 6, 6);
    sf->setSpacing(4);
    QLineEdit *edtAuswertungHeader = lineEdit(SettingKey::edtAuswertungHeader);
    sf->addWidget(label(captionOf(SettingKey::edtAuswertungHeader), edtAuswertungHeader), 0, 0);
    sf->addWidget(edtAuswertungHeader, 0, 1, 1, 2);
    QPlainTextEdit *memoAuswertung = memo(SettingKey::memoAuswertung);
    sf->addWidget(label(QStringLiteral("Text Auswertung:\n(HTML-Code\nerlaubt)"), memoAuswertung), 1, 0, Qt::AlignTop);
    sf->addWidget(memoAuswertung, 1, 1);
    QPushButton *btHtmlAuswertung = dotsButton("btHtmlAuswertung", QStringLiteral("Text Auswertung im HTML-Editor bearbeiten"));
    sf->addWidget(btHtmlAuswertung, 1, 2, Qt::AlignTop);
    // The address of the quiz script gets a row of its own under its label.
    QComboBox *cboFormMailer = combo(SettingKey::cboFormMailer);
    sf->addWidget(label(captionOf(SettingKey::cboFormMailer), cboFormMailer), 2, 0, 1, 3);
    auto *linkTestButton = new QToolButton;
    linkTestButton->setObjectName(QStringLiteral("btGOCaptcha"));
    linkTestButton->setIcon(Artwork::icon(QStringLiteral("linktest")));
    linkTestButton->setAutoRaise(true);
    linkTestButton->setToolTip(QStringLiteral("Link testen"));
    linkTestButton->setAccessibleName(QStringLiteral("Link testen"));
    linkTestButton->setFocusPolicy(Qt::StrongFocus);
    auto *btHelpFormMail = new QPushButton(QStringLiteral("&Hilfe"));
    btHelpFormMail->setObjectName(QStringLiteral("btHelpFormMail"));
    btHelpFormMail->setAccessibleDescription(QStringLiteral("Hilfe zum QuizScript im Browser öffnen"));
    auto *scriptRow = new QWidget;
    auto *sr = new QHBoxLayout(scriptRow);
    sr->setContentsMargins(0, 0, 0, 0);
    sr->setSpacing(4);
    sr->addWidget(cboFormMailer, 1);
    sr->addWidget(linkTestButton);
    sr->addWidget(btHelpFormMail);
    sf->addWidget(scriptRow, 3, 0, 1, 3);
    sf->addWidget(check(SettingKey::chkShowPicDiagramm), 4, 0, 1, 3);
    sf->setColumnStretch(1, 1);
    sf->setRowStretch(1, 1);
    grid->addWidget(script, 0, 1, 2, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);

    connect(btHtmlAuswertung, &QPushButton::clicked, this, [this] { editLongText(SettingKey::memoAuswertung); });
    return scrollPage(nullptr, content);
}

QWidget *MainWindow::createDesignPage()
{
    auto *content = new QWidget;
    auto *grid = new QGridLayout(content);
    grid->setContentsMargins(6, 6, 6, 6);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);

    auto *texts = new QWidget;
    auto *tf = compactForm(texts);
    tf->setContentsMargins(0, 0, 0, 0);
    QLineEdit *edtFormTitel = lineEdit(SettingKey::edtFormTitel);
    tf->addRow(label(captionOf(SettingKey::edtFormTitel), edtFormTitel), edtFormTitel);
    QComboBox *cboFontHeader = combo(SettingKey::cboFontHeader);
    NumberEdit *edtSizeHeader = number(SettingKey::edtSizeHeader);
    edtSizeHeader->setAccessibleName(QStringLiteral("Größe Überschrift"));
    cboFontHeader->setMinimumWidth(220);
    tf->addRow(label(captionOf(SettingKey::cboFontHeader), cboFontHeader),
               row({cboFontHeader, label(captionOf(SettingKey::edtSizeHeader), edtSizeHeader), edtSizeHeader}));
    QComboBox *cboFontForm = combo(SettingKey::cboFontForm);
    NumberEdit *edtSizeForm = number(SettingKey::edtSizeForm);
    edtSizeForm->setAccessibleName(QStringLiteral("Größe Quiz"));
    cboFontForm->setMinimumWidth(220);
    tf->addRow(label(captionOf(SettingKey::cboFontForm), cboFontForm), row({cboFontForm, label(captionOf(SettingKey::edtSizeForm), edtSizeForm), edtSizeForm}));
    QLineEdit *edtBGPicture = lineEdit(SettingKey::edtBGPicture);
    tf->addRow(label(captionOf(SettingKey::edtBGPicture), edtBGPicture), edtBGPicture);
    QLineEdit *edtTabWidth = lineEdit(SettingKey::edtTabWidth);
    edtTabWidth->setFixedWidth(70);
    auto *widthNote = new QLabel(QStringLiteral("Angabe z.B. 50% für 50% der Fensterbreite\nAngabe z.B. von 500 für 500 Pixel Breite"));
    QFont small = widthNote->font();
    small.setPointSizeF(small.pointSizeF() - 1);
    widthNote->setFont(small);
    tf->addRow(label(captionOf(SettingKey::edtTabWidth), edtTabWidth), row({edtTabWidth, widthNote}));
    grid->addWidget(texts, 0, 0);

    auto *colours = new QGroupBox(QStringLiteral("Farben"));
    auto *cf = new QGridLayout(colours);
    cf->setContentsMargins(6, 4, 6, 4);
    cf->setVerticalSpacing(3);
    cf->setHorizontalSpacing(6);
    int i = 0;
    for (const ColourPair &p : Colours::pairs()) {
        if (!p.design)
            continue;
        QLineEdit *e = lineEdit(p.edit);
        const int r = i / 2;
        const int c = (i % 2) * 4;
        cf->addWidget(label(captionOf(p.edit), e), r, c);
        cf->addWidget(e, r, c + 1);
        cf->addWidget(colorButtonFor(p.edit), r, c + 2);
        e->installEventFilter(this);
        ++i;
    }
    cf->setColumnMinimumWidth(3, 16);
    cf->setColumnStretch(7, 1);
    grid->addWidget(colours, 1, 0);

    auto *memos = new QWidget;
    auto *mg = new QGridLayout(memos);
    mg->setContentsMargins(0, 0, 0, 0);
    mg->setSpacing(4);
    QPlainTextEdit *memoEinleitung = memo(SettingKey::memoEinleitung);
    QPlainTextEdit *memoTextEnde = memo(SettingKey::memoTextEnde);
    QPushButton *btHtmlEinleitungstext = dotsButton("btHtmlEinleitungstext", QStringLiteral("Einleitungstext im HTML-Editor bearbeiten"));
    QPushButton *btHtmlEditTextEnde = dotsButton("btHtmlEditTextEnde", QStringLiteral("Text Ende im HTML-Editor bearbeiten"));
    mg->addWidget(label(captionOf(SettingKey::memoEinleitung), memoEinleitung), 0, 0);
    mg->addWidget(label(captionOf(SettingKey::memoTextEnde), memoTextEnde), 0, 2);
    mg->addWidget(memoEinleitung, 1, 0);
    mg->addWidget(btHtmlEinleitungstext, 1, 1, Qt::AlignTop);
    mg->addWidget(memoTextEnde, 1, 2);
    mg->addWidget(btHtmlEditTextEnde, 1, 3, Qt::AlignTop);
    mg->setColumnStretch(0, 1);
    mg->setColumnStretch(2, 1);
    grid->addWidget(memos, 2, 0);
    grid->setRowStretch(2, 1);

    connect(btHtmlEinleitungstext, &QPushButton::clicked, this, [this] { editLongText(SettingKey::memoEinleitung); });
    connect(btHtmlEditTextEnde, &QPushButton::clicked, this, [this] { editLongText(SettingKey::memoTextEnde); });
    return scrollPage(headerStrip(QStringLiteral("Design Einstellungen")), content);
}

QWidget *MainWindow::createCssPage()
{
    auto *content = new QWidget;
    auto *grid = new QGridLayout(content);
    grid->setContentsMargins(6, 6, 6, 6);
    grid->setSpacing(6);

    auto colourRow = [this](QFormLayout *form, SettingKey edit) {
        QLineEdit *e = lineEdit(edit);
        form->addRow(label(captionOf(edit), e), row({e, colorButtonFor(edit)}));
    };
    auto borderRows = [](QFormLayout *form, SettingKey style, SettingKey width, SettingKey unit) {
        QComboBox *s = combo(style);
        form->addRow(label(captionOf(style), s), s);
        NumberEdit *w = number(width);
        QComboBox *u = combo(unit);
        u->setAccessibleName(QStringLiteral("Einheit"));
        u->setFixedWidth(64);
        form->addRow(label(captionOf(width), w), row({w, u}));
    };

    // Einstellungen Button
    auto *buttons = new QGroupBox(QStringLiteral("Einstellungen Button"));
    auto *bv = new QVBoxLayout(buttons);
    bv->setContentsMargins(6, 6, 6, 6);
    bv->setSpacing(4);
    bv->addWidget(check(SettingKey::cboStandardButton));
    auto *pButtonDesign = new QWidget;
    pButtonDesign->setObjectName(QStringLiteral("pButtonDesign"));
    auto *bf = compactForm(pButtonDesign);
    bf->setContentsMargins(0, 0, 0, 0);
    colourRow(bf, SettingKey::edtHintergrundButton);
    colourRow(bf, SettingKey::edtFarbeButton);
    borderRows(bf, SettingKey::cboRahmenButton, SettingKey::edtStaerkeButton, SettingKey::cboStaerkeRahmen);
    bv->addWidget(pButtonDesign);
    auto *captions = new QGroupBox(QStringLiteral("Button Beschriftungen"));
    auto *capf = compactForm(captions);
    QLineEdit *edtSendenButton = lineEdit(SettingKey::edtSendenButton);
    capf->addRow(label(captionOf(SettingKey::edtSendenButton), edtSendenButton), edtSendenButton);
    QLineEdit *edtCancelButton = lineEdit(SettingKey::edtCancelButton);
    capf->addRow(label(captionOf(SettingKey::edtCancelButton), edtCancelButton), edtCancelButton);
    QCheckBox *chkPrintButton = check(SettingKey::chkPrintButton, QString());
    chkPrintButton->setAccessibleName(QStringLiteral("Drucken-Button anzeigen"));
    QLineEdit *edtPrint = lineEdit(SettingKey::edtPrint);
    capf->addRow(label(captionOf(SettingKey::edtPrint), chkPrintButton), row({chkPrintButton, edtPrint}, false));
    edtPrint->setAccessibleName(QStringLiteral("Beschriftung Drucken"));
    bv->addWidget(captions);
    bv->addStretch(1);
    grid->addWidget(buttons, 0, 0);

    // Einstellungen Felder
    auto *fields = new QGroupBox(QStringLiteral("Einstellungen Felder"));
    auto *fv = new QVBoxLayout(fields);
    fv->setContentsMargins(6, 6, 6, 6);
    fv->setSpacing(4);
    fv->addWidget(check(SettingKey::cboStandardFeld));
    auto *pCSSFormularfeld = new QWidget;
    pCSSFormularfeld->setObjectName(QStringLiteral("pCSSFormularfeld"));
    auto *pv = new QVBoxLayout(pCSSFormularfeld);
    pv->setContentsMargins(0, 0, 0, 0);
    auto *ff = compactForm();
    ff->setContentsMargins(0, 0, 0, 0);
    colourRow(ff, SettingKey::edtHGFormField);
    colourRow(ff, SettingKey::edtColorFormField);
    borderRows(ff, SettingKey::edtRahmenFormField, SettingKey::edtStaerkeFormField, SettingKey::cboRahmenFormField);
    pv->addLayout(ff);
    auto *font = new QGroupBox(QStringLiteral("Schrifteinstellungen"));
    auto *fof = compactForm(font);
    QComboBox *cboFontFormField = combo(SettingKey::cboFontFormField);
    fof->addRow(label(captionOf(SettingKey::cboFontFormField), cboFontFormField), cboFontFormField);
    NumberEdit *edtSizeFormField = number(SettingKey::edtSizeFormField);
    QComboBox *cboSchriftFormEinheit = combo(SettingKey::cboSchriftFormEinheit);
    cboSchriftFormEinheit->setAccessibleName(QStringLiteral("Einheit"));
    cboSchriftFormEinheit->setFixedWidth(64);
    fof->addRow(label(captionOf(SettingKey::edtSizeFormField), edtSizeFormField), row({edtSizeFormField, cboSchriftFormEinheit}));
    pv->addWidget(font);
    fv->addWidget(pCSSFormularfeld);
    fv->addStretch(1);
    grid->addWidget(fields, 0, 1);

    auto *illustration = new QLabel;
    illustration->setPixmap(Artwork::cssIllustration());
    illustration->setAccessibleName(QStringLiteral("Beispiel eines gestalteten Buttons und Eingabefelds"));
    grid->addWidget(illustration, 0, 2, Qt::AlignTop);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    return scrollPage(headerStrip(QStringLiteral("CSS / Button Einstellungen")), content);
}

QWidget *MainWindow::createAddressPage()
{
    auto *content = new QWidget;
    auto *v = new QVBoxLayout(content);
    v->setContentsMargins(6, 6, 6, 6);
    v->setSpacing(4);
    v->addWidget(check(SettingKey::chkShowAdress));

    auto *group = new QGroupBox(QStringLiteral("Adressfelder"));
    group->setObjectName(QStringLiteral("gbAdressFields"));
    auto *g = new QGridLayout(group);
    g->setContentsMargins(6, 6, 6, 6);
    g->setVerticalSpacing(2);
    const auto &fields = Settings::addressFields();
    int r = 0;
    for (const AddressField &field : fields) {
        QCheckBox *shown = check(field.shown);
        shown->setMinimumWidth(90);
        auto *panel = new QWidget;
        panel->setObjectName(QLatin1String(field.panel));
        auto *pl = new QHBoxLayout(panel);
        pl->setContentsMargins(0, 0, 0, 0);
        QLineEdit *e = lineEdit(field.label);
        pl->addWidget(label(QStringLiteral("Beschriftung:"), e));
        e->setAccessibleName(QStringLiteral("Beschriftung ") + shown->text());
        pl->addWidget(e, 1);
        QCheckBox *req = check(field.required);
        req->setAccessibleName(QStringLiteral("Überprüfung ") + shown->text());
        pl->addWidget(req);
        g->addWidget(shown, r, 0);
        g->addWidget(panel, r, 1);
        ++r;
    }
    auto *position = new QWidget;
    auto *ph = new QHBoxLayout(position);
    ph->setContentsMargins(0, 6, 0, 0);
    auto *rdBegin = new QRadioButton(captionOf(SettingKey::rdBegin));
    rdBegin->setObjectName(QStringLiteral("rdBegin"));
    auto *rdEnd = new QRadioButton(captionOf(SettingKey::rdEnd));
    rdEnd->setObjectName(QStringLiteral("rdEnd"));
    auto *positionGroup = new QButtonGroup(position);
    positionGroup->addButton(rdBegin);
    positionGroup->addButton(rdEnd);
    auto *positionLabel = new QLabel(QStringLiteral("Adresseingabe erscheint:"));
    ph->addWidget(positionLabel);
    ph->addWidget(rdBegin);
    ph->addWidget(rdEnd);
    ph->addStretch(1);
    rdBegin->setAccessibleDescription(positionLabel->text());
    rdEnd->setAccessibleDescription(positionLabel->text());
    g->addWidget(position, r++, 0, 1, 2);
    QLineEdit *edtHeader = lineEdit(SettingKey::edtHeader);
    auto *headerRow = new QWidget;
    auto *hh = new QHBoxLayout(headerRow);
    hh->setContentsMargins(0, 0, 0, 0);
    hh->addWidget(label(captionOf(SettingKey::edtHeader), edtHeader));
    edtHeader->setAccessibleName(QStringLiteral("Überschrift Adressfelder"));
    hh->addWidget(edtHeader, 1);
    g->addWidget(headerRow, r++, 0, 1, 2);
    g->setColumnStretch(1, 1);
    v->addWidget(group);
    v->addStretch(1);
    return scrollPage(headerStrip(QStringLiteral("Adressfelder")), content);
}

QWidget *MainWindow::createHtmlPage()
{
    m_htmlText = new QPlainTextEdit;
    m_htmlText->setObjectName(QStringLiteral("memoHtml"));
    m_htmlText->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_htmlText->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_htmlText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont mono(QStringLiteral("Courier New"));
    mono.setStyleHint(QFont::TypeWriter);
    if (!QFontInfo(mono).fixedPitch())
        mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    m_htmlText->setFont(mono);
    m_htmlText->setAccessibleName(QStringLiteral("HTML Quelltext"));
    m_htmlText->installEventFilter(this);

    auto *page = new QWidget;
    auto *v = new QVBoxLayout(page);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);
    v->addWidget(headerStrip(QStringLiteral("HTML Quelltext Formular")));
    v->addWidget(m_htmlText, 1);
    return page;
}

QWidget *MainWindow::createPreviewPage()
{
    m_previewView = new EmbeddedView(EmbeddedView::Role::Preview);
    m_previewView->setObjectName(QStringLiteral("WebBrowser"));
    m_previewView->setAccessibleName(QStringLiteral("Vorschau"));
    auto *page = new QWidget;
    auto *v = new QVBoxLayout(page);
    v->setContentsMargins(0, 0, 0, 0);
    v->addWidget(m_previewView);
    return page;
}
