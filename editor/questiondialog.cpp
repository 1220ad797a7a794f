#include "questiondialog.h"
#include "dialogbuttons.h"
#include "linebreaks.h"
#include "placement.h"

#include "artwork.h"
#include "prompts.h"
#include "answerdialog.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <limits>

namespace {
const QString kYes = QStringLiteral("ja");
const QString kNo = QStringLiteral("nein");

QLineEdit *namedEdit(const char *name)
{
    auto *e = new QLineEdit;
    e->setObjectName(QLatin1String(name));
    // A caption with markup or a data: picture address easily passes the
    // line edit's default limit of 32,767 characters.
    e->setMaxLength(std::numeric_limits<int>::max());
    return e;
}

QLabel *buddyLabel(const QString &text, QWidget *buddy)
{
    auto *l = new QLabel(text);
    l->setBuddy(buddy);
    buddy->setAccessibleName(QString(text).remove(QLatin1Char('&')).remove(QLatin1Char(':')));
    return l;
}
} // namespace

QuestionDialog::QuestionDialog(QuestionKind kind, const QString &caption, QSize clientSize, AnswerDialog &answerDialog, QWidget *parent)
    : QDialog(parent)
    , m_kind(kind)
    , m_answerDialog(answerDialog)
{
    setWindowTitle(caption);
    const bool choice = isChoice();

    auto *panelHeader = new QLabel(caption);
    panelHeader->setObjectName(QStringLiteral("panelHeader"));
    QFont bold = panelHeader->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() + 2);
    panelHeader->setFont(bold);
    panelHeader->setContentsMargins(10, 6, 10, 6);
    panelHeader->setAutoFillBackground(true);
    panelHeader->setStyleSheet(QStringLiteral("QLabel { background: #1F4E79; color: white; }"));

    // Tab "Standard"
    auto *standard = new QWidget;
    standard->setObjectName(QStringLiteral("TabSheet1"));
    auto *sg = new QHBoxLayout(standard);
    sg->setContentsMargins(6, 6, 6, 6);

    auto *question = new QGroupBox(QStringLiteral("Einstellungen Frage"));
    auto *qg = new QGridLayout(question);
    qg->setContentsMargins(6, 6, 6, 6);
    qg->setVerticalSpacing(4);
    m_captionEdit = namedEdit("edtBeschriftung");
    // Wide enough to read a caption with markup.
    m_captionEdit->setMinimumWidth(350);
    auto *btHtml = new QPushButton(QStringLiteral("..."));
    btHtml->setObjectName(QStringLiteral("btHtml"));
    btHtml->setFixedWidth(28);
    btHtml->setAccessibleName(QStringLiteral("Beschriftung im HTML-Editor bearbeiten"));
    btHtml->setToolTip(btHtml->accessibleName());
    int r = 0;
    qg->addWidget(buddyLabel(QStringLiteral("B&eschriftung"), m_captionEdit), r, 0);
    auto *captionRow = new QHBoxLayout;
    captionRow->addWidget(m_captionEdit, 1);
    captionRow->addWidget(btHtml);
    qg->addLayout(captionRow, r++, 1);
    if (!choice) {
        m_sizeEdit = namedEdit("edtGroesse");
        m_lengthEdit = namedEdit("edtLaenge");
        m_sizeEdit->setFixedWidth(60);
        m_lengthEdit->setFixedWidth(60);
        auto *sizes = new QHBoxLayout;
        sizes->addWidget(m_sizeEdit);
        sizes->addSpacing(12);
        sizes->addWidget(buddyLabel(QStringLiteral("&max. Länge"), m_lengthEdit));
        sizes->addWidget(m_lengthEdit);
        sizes->addStretch(1);
        qg->addWidget(buddyLabel(QStringLiteral("&Größe"), m_sizeEdit), r, 0);
        qg->addLayout(sizes, r++, 1);
    }
    m_answerList = new QTableWidget(0, choice ? 2 : 1);
    m_answerList->setObjectName(QStringLiteral("lstAnswers"));
    m_answerList->setHorizontalHeaderLabels(choice ? QStringList{QStringLiteral("Antwort"), QStringLiteral("Richtig?")}
                                                 : QStringList{QStringLiteral("Antwort")});
    m_answerList->verticalHeader()->hide();
    m_answerList->setShowGrid(true);
    m_answerList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_answerList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_answerList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_answerList->verticalHeader()->setDefaultSectionSize(m_answerList->fontMetrics().height() + 6);
    m_answerList->setColumnWidth(0, choice ? 170 : 220);
    if (choice)
        m_answerList->setColumnWidth(1, 60);
    m_answerList->horizontalHeader()->setStretchLastSection(true);
    auto *answersLabel = buddyLabel(choice ? QStringLiteral("&Antwortmöglichkeiten:") : QStringLiteral("&Antworten:"), m_answerList);
    qg->addWidget(answersLabel, r++, 0, 1, 2);
    qg->addWidget(m_answerList, r++, 0, 1, 2);
    auto *sbNew = new QPushButton(Artwork::icon(QStringLiteral("frage-neu")), QStringLiteral("&Neu"));
    sbNew->setObjectName(QStringLiteral("sbNew"));
    auto *sbEdit = new QPushButton(Artwork::icon(QStringLiteral("frage-bearbeiten")), QStringLiteral("&Bearbeiten"));
    sbEdit->setObjectName(QStringLiteral("sbEdit"));
    auto *sbDelete = new QPushButton(Artwork::icon(QStringLiteral("frage-loeschen")), QStringLiteral("&Löschen"));
    sbDelete->setObjectName(QStringLiteral("sbDelete"));
    for (QPushButton *b : {sbNew, sbEdit, sbDelete})
        b->setAutoDefault(false);
    btHtml->setAutoDefault(false);
    auto *answerButtons = new QHBoxLayout;
    answerButtons->addWidget(sbNew);
    answerButtons->addWidget(sbEdit);
    answerButtons->addWidget(sbDelete);
    answerButtons->addStretch(1);
    qg->addLayout(answerButtons, r++, 0, 1, 2);
    qg->setRowStretch(r - 2, 1);
    qg->setColumnStretch(1, 1);
    sg->addWidget(question, 3);

    auto *check = new QGroupBox(QStringLiteral("Überprüfung"));
    auto *cv = new QVBoxLayout(check);
    cv->setContentsMargins(6, 6, 6, 6);
    m_requiredCheck = new QCheckBox(QStringLiteral("&Pflichtfeld"));
    m_requiredCheck->setObjectName(QStringLiteral("chkPflicht"));
    cv->addWidget(m_requiredCheck);
    auto *panelCheck = new QWidget;
    panelCheck->setObjectName(QStringLiteral("panelCheck"));
    auto *pv = new QVBoxLayout(panelCheck);
    pv->setContentsMargins(0, 0, 0, 0);
    m_alertEdit = namedEdit("edtMeldung");
    auto *note =
        new QLabel(QStringLiteral("Hier können Sie die\nFehlermeldung eintragen,\ndie bei Nichteingabe erscheint.\n"
                                  "Lassen Sie dieses Feld leer,\nund es erscheint eine\nStandardfehlermeldung mit\nNamen der Frage."));
    note->setBuddy(m_alertEdit);
    m_alertEdit->setAccessibleName(QStringLiteral("Fehlermeldung"));
    m_alertEdit->setAccessibleDescription(note->text());
    pv->addWidget(m_alertEdit);
    pv->addWidget(note);
    cv->addWidget(panelCheck);
    cv->addStretch(1);
    sg->addWidget(check, 2);

    // Tab "Erweiterte Einstellungen"
    auto *advanced = new QWidget;
    advanced->setObjectName(QStringLiteral("TabSheet2"));
    auto *af = new QFormLayout(advanced);
    af->setContentsMargins(10, 10, 10, 10);
    m_tipLinkEdit = namedEdit("edtLinkTip");
    m_pictureEdit = namedEdit("edtBild");
    af->addRow(buddyLabel(QStringLiteral("Lin&ktipp:"), m_tipLinkEdit), m_tipLinkEdit);
    af->addRow(buddyLabel(QStringLiteral("Bild-&URL:"), m_pictureEdit), m_pictureEdit);
    m_hintEdit = new QPlainTextEdit;
    m_hintEdit->setObjectName(QStringLiteral("memoHinweis"));
    auto *hintLabel = buddyLabel(QStringLiteral("Hinweistext:"), m_hintEdit);
    af->addRow(hintLabel, m_hintEdit);
    // The hint is kept with the question but not offered for editing.
    hintLabel->hide();
    m_hintEdit->hide();

    m_tabs = new QTabWidget;
    m_tabs->setObjectName(QStringLiteral("PageControl1"));
    m_tabs->addTab(standard, QStringLiteral("Standard"));
    m_tabs->addTab(advanced, QStringLiteral("Erweiterte Einstellungen"));

    const DialogButtons::Row okCancel = DialogButtons::okCancel("btOk", "Button1", DialogButtons::Order::OkFirst);
    QPushButton *btOk = okCancel.ok;
    QPushButton *cancelButton = okCancel.cancel;
    QHBoxLayout *buttons = okCancel.layout;

    auto *v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 8);
    v->setSpacing(6);
    v->addWidget(panelHeader);
    auto *body = new QVBoxLayout;
    body->setContentsMargins(8, 0, 8, 0);
    body->addWidget(m_tabs, 1);
    body->addLayout(buttons);
    v->addLayout(body, 1);

    connect(btOk, &QPushButton::clicked, this, &QuestionDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(sbNew, &QPushButton::clicked, this, &QuestionDialog::newAnswer);
    connect(sbEdit, &QPushButton::clicked, this, &QuestionDialog::editAnswer);
    connect(sbDelete, &QPushButton::clicked, this, &QuestionDialog::deleteAnswer);
    connect(m_answerList, &QTableWidget::cellDoubleClicked, this, [this](int row) { editAnswerAt(row); });
    connect(btHtml, &QPushButton::clicked, this, [this] {
        QString text = m_captionEdit->text();
        if (m_htmlEditor && m_htmlEditor(this, &text))
            m_captionEdit->setText(text);
    });

    setFixedSize(clientSize.expandedTo(sizeHint()));
}

void QuestionDialog::showEvent(QShowEvent *event)
{
    m_tabs->setCurrentIndex(0);
    QDialog::showEvent(event);
    Placement::centreOnOwner(this);
    // The first keystrokes belong to the caption, not to the tab bar.
    m_captionEdit->setFocus();
}

void QuestionDialog::clear()
{
    m_captionEdit->clear();
    if (m_sizeEdit) {
        m_sizeEdit->setText(QStringLiteral("15"));
        m_lengthEdit->setText(QStringLiteral("100"));
    }
    m_requiredCheck->setChecked(false);
    m_alertEdit->clear();
    m_tipLinkEdit->clear();
    m_pictureEdit->clear();
    m_hintEdit->clear();
    m_hint = {};
    m_answerList->setRowCount(0);
}

void QuestionDialog::appendRow(const QString &text, bool right)
{
    const int row = m_answerList->rowCount();
    m_answerList->insertRow(row);
    m_answerList->setItem(row, 0, new QTableWidgetItem(text));
    if (isChoice()) {
        auto *item = new QTableWidgetItem(right ? kYes : kNo);
        item->setTextAlignment(Qt::AlignCenter);
        m_answerList->setItem(row, 1, item);
    }
}

void QuestionDialog::loadQuestion(const Question &q)
{
    m_captionEdit->setText(q.caption);
    m_requiredCheck->setChecked(q.required);
    m_alertEdit->setText(q.alertText);
    m_tipLinkEdit->setText(q.tipLink);
    m_pictureEdit->setText(q.picture);
    m_hintEdit->setPlainText(LineBreaks::toWidget(q.hint));
    m_hint = {q.hint, m_hintEdit->toPlainText()};
    if (q.kind() == QuestionKind::FreeText) {
        const auto &simple = static_cast<const FreeTextQuestion &>(q);
        if (m_sizeEdit) {
            m_sizeEdit->setText(simple.fieldSize);
            m_lengthEdit->setText(simple.maxLength);
        }
        for (const QString &a : simple.answers)
            appendRow(a, false);
    } else {
        for (const AnswerOption &o : static_cast<const ChoiceQuestion &>(q).options)
            appendRow(o.text, o.right);
    }
}

void QuestionDialog::saveQuestion(Question &q) const
{
    q.caption = m_captionEdit->text();
    q.required = m_requiredCheck->isChecked();
    q.alertText = m_alertEdit->text();
    q.tipLink = m_tipLinkEdit->text();
    q.picture = m_pictureEdit->text();
    const QString hint = m_hintEdit->toPlainText();
    q.hint = hint == m_hint.shown ? m_hint.original : LineBreaks::fromWidget(hint);
    if (q.kind() == QuestionKind::FreeText) {
        auto &simple = static_cast<FreeTextQuestion &>(q);
        if (m_sizeEdit) {
            simple.fieldSize = m_sizeEdit->text();
            simple.maxLength = m_lengthEdit->text();
        }
        simple.answers.clear();
        for (int i = 0; i < m_answerList->rowCount(); ++i)
            simple.answers << m_answerList->item(i, 0)->text();
    } else {
        auto &choice = static_cast<ChoiceQuestion &>(q);
        choice.options.clear();
        for (int i = 0; i < m_answerList->rowCount(); ++i)
            choice.options.push_back({m_answerList->item(i, 0)->text(), m_answerList->item(i, 1)->text() == kYes});
    }
}

void QuestionDialog::newAnswer()
{
    m_answerDialog.clear();
    m_answerDialog.rightCheck()->setVisible(isChoice());
    const bool ok = m_answerDialog.exec() == QDialog::Accepted;
    m_answerDialog.rightCheck()->setVisible(true);
    if (ok)
        appendRow(m_answerDialog.textEdit()->text(), m_answerDialog.rightCheck()->isChecked());
}

void QuestionDialog::editAnswer()
{
    editAnswerAt(m_answerList->currentRow());
}

void QuestionDialog::editAnswerAt(int row)
{
    if (row < 0 || row >= m_answerList->rowCount() || m_answerList->selectedItems().isEmpty())
        return;
    m_answerDialog.clear();
    m_answerDialog.textEdit()->setText(m_answerList->item(row, 0)->text());
    m_answerDialog.rightCheck()->setVisible(isChoice());
    if (isChoice())
        m_answerDialog.rightCheck()->setChecked(m_answerList->item(row, 1)->text() == kYes);
    const bool ok = m_answerDialog.exec() == QDialog::Accepted;
    m_answerDialog.rightCheck()->setVisible(true);
    if (!ok)
        return;
    m_answerList->item(row, 0)->setText(m_answerDialog.textEdit()->text());
    if (isChoice())
        m_answerList->item(row, 1)->setText(m_answerDialog.rightCheck()->isChecked() ? kYes : kNo);
}

void QuestionDialog::deleteAnswer()
{
    const int row = m_answerList->currentRow();
    if (row < 0 || m_answerList->selectedItems().isEmpty())
        return;
    m_answerList->removeRow(row);
    // The view would select the next row, and a second click would delete
    // an answer the user never chose.
    m_answerList->selectionModel()->clear();
}

int QuestionDialog::countRightAnswers() const
{
    int n = 0;
    for (int i = 0; i < m_answerList->rowCount(); ++i)
        if (m_answerList->item(i, 1) && m_answerList->item(i, 1)->text() == kYes)
            ++n;
    return n;
}

void QuestionDialog::fail(const QString &message, QWidget *focus)
{
    Prompts::message(this, QStringLiteral("Pruvex"), message);
    if (!focus)
        return;
    // Bring the field's tab to the front, so that the user sees where he types.
    for (int i = 0; i < m_tabs->count(); ++i) {
        if (m_tabs->widget(i)->isAncestorOf(focus))
            m_tabs->setCurrentIndex(i);
    }
    focus->setFocus();
}

bool QuestionDialog::checkInput()
{
    if (m_captionEdit->text().isEmpty()) {
        fail(QStringLiteral("Bitte geben Sie etwas im Feld \"Beschriftung\" ein."), m_captionEdit);
        return false;
    }
    return true;
}

void QuestionDialog::accept()
{
    if (checkInput())
        QDialog::accept();
}
