#include "uQuestionDialogs.h"
#include "linebreaks.h"
#include "placement.h"

#include "artwork.h"
#include "prompts.h"
#include "uInputAnswer.h"

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

namespace {
const QString kYes = QStringLiteral("ja");
const QString kNo = QStringLiteral("nein");

QLineEdit *namedEdit(const char *name)
{
    auto *e = new QLineEdit;
    e->setObjectName(QLatin1String(name));
    return e;
}

QLabel *buddyLabel(const QString &text, QWidget *buddy)
{
    auto *l = new QLabel(text);
    l->setBuddy(buddy);
    buddy->setAccessibleName(QString(text).remove(QLatin1Char(':')));
    return l;
}
} // namespace

TfrmQuestionDialog::TfrmQuestionDialog(const QString &caption, QSize clientSize, TfrmAntwort &answerDialog, QWidget *parent)
    : QDialog(parent)
    , m_answerDialog(answerDialog)
{
    setWindowTitle(caption);
    const bool choice = caption != QLatin1String("Einfache Frage");

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
    edtBeschriftung = namedEdit("edtBeschriftung");
    auto *btHtml = new QPushButton(QStringLiteral("..."));
    btHtml->setObjectName(QStringLiteral("btHtml"));
    btHtml->setFixedWidth(28);
    btHtml->setAccessibleName(QStringLiteral("Beschriftung im HTML-Editor bearbeiten"));
    btHtml->setToolTip(btHtml->accessibleName());
    int r = 0;
    qg->addWidget(buddyLabel(QStringLiteral("Beschriftung"), edtBeschriftung), r, 0);
    auto *captionRow = new QHBoxLayout;
    captionRow->addWidget(edtBeschriftung, 1);
    captionRow->addWidget(btHtml);
    qg->addLayout(captionRow, r++, 1);
    if (!choice) {
        edtGroesse = namedEdit("edtGroesse");
        edtLaenge = namedEdit("edtLaenge");
        edtGroesse->setFixedWidth(60);
        edtLaenge->setFixedWidth(60);
        auto *sizes = new QHBoxLayout;
        sizes->addWidget(edtGroesse);
        sizes->addSpacing(12);
        sizes->addWidget(buddyLabel(QStringLiteral("max. Länge"), edtLaenge));
        sizes->addWidget(edtLaenge);
        sizes->addStretch(1);
        qg->addWidget(buddyLabel(QStringLiteral("Größe"), edtGroesse), r, 0);
        qg->addLayout(sizes, r++, 1);
    }
    lstAnswers = new QTableWidget(0, choice ? 2 : 1);
    lstAnswers->setObjectName(QStringLiteral("lstAnswers"));
    lstAnswers->setHorizontalHeaderLabels(choice ? QStringList{QStringLiteral("Antwort"), QStringLiteral("Richtig?")}
                                                 : QStringList{QStringLiteral("Antwort")});
    lstAnswers->verticalHeader()->hide();
    lstAnswers->setShowGrid(true);
    lstAnswers->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstAnswers->setSelectionMode(QAbstractItemView::SingleSelection);
    lstAnswers->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstAnswers->verticalHeader()->setDefaultSectionSize(lstAnswers->fontMetrics().height() + 6);
    lstAnswers->setColumnWidth(0, choice ? 170 : 220);
    if (choice)
        lstAnswers->setColumnWidth(1, 60);
    lstAnswers->horizontalHeader()->setStretchLastSection(true);
    auto *answersLabel = new QLabel(choice ? QStringLiteral("Antwortmöglichkeiten:") : QStringLiteral("Antworten:"));
    answersLabel->setBuddy(lstAnswers);
    lstAnswers->setAccessibleName(answersLabel->text().chopped(1));
    qg->addWidget(answersLabel, r++, 0, 1, 2);
    qg->addWidget(lstAnswers, r++, 0, 1, 2);
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
    chkPflicht = new QCheckBox(QStringLiteral("Pflichtfeld"));
    chkPflicht->setObjectName(QStringLiteral("chkPflicht"));
    cv->addWidget(chkPflicht);
    auto *panelCheck = new QWidget;
    panelCheck->setObjectName(QStringLiteral("panelCheck"));
    auto *pv = new QVBoxLayout(panelCheck);
    pv->setContentsMargins(0, 0, 0, 0);
    edtMeldung = namedEdit("edtMeldung");
    auto *note =
        new QLabel(QStringLiteral("Hier können Sie die\nFehlermeldung eintragen,\ndie bei Nichteingabe erscheint.\n"
                                  "Lassen Sie dieses Feld leer,\nund es erscheint eine\nStandardfehlermeldung mit\nNamen der Frage."));
    note->setBuddy(edtMeldung);
    edtMeldung->setAccessibleName(QStringLiteral("Fehlermeldung"));
    edtMeldung->setAccessibleDescription(note->text());
    pv->addWidget(edtMeldung);
    pv->addWidget(note);
    cv->addWidget(panelCheck);
    cv->addStretch(1);
    sg->addWidget(check, 2);

    // Tab "Erweiterte Einstellungen"
    auto *advanced = new QWidget;
    advanced->setObjectName(QStringLiteral("TabSheet2"));
    auto *af = new QFormLayout(advanced);
    af->setContentsMargins(10, 10, 10, 10);
    edtLinkTip = namedEdit("edtLinkTip");
    edtBild = namedEdit("edtBild");
    af->addRow(buddyLabel(QStringLiteral("Linktipp:"), edtLinkTip), edtLinkTip);
    af->addRow(buddyLabel(QStringLiteral("Bild-URL:"), edtBild), edtBild);
    memoHinweis = new QPlainTextEdit;
    memoHinweis->setObjectName(QStringLiteral("memoHinweis"));
    auto *hintLabel = buddyLabel(QStringLiteral("Hinweistext:"), memoHinweis);
    af->addRow(hintLabel, memoHinweis);
    // The hint is kept with the question but not offered for editing.
    hintLabel->hide();
    memoHinweis->hide();

    PageControl1 = new QTabWidget;
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->addTab(standard, QStringLiteral("Standard"));
    PageControl1->addTab(advanced, QStringLiteral("Erweiterte Einstellungen"));

    auto *btOk = new QPushButton(QStringLiteral("OK"));
    btOk->setObjectName(QStringLiteral("btOk"));
    btOk->setDefault(true);
    auto *Button1 = new QPushButton(QStringLiteral("Abbrechen"));
    Button1->setObjectName(QStringLiteral("Button1"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btOk);
    buttons->addWidget(Button1);

    auto *v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 8);
    v->setSpacing(6);
    v->addWidget(panelHeader);
    auto *body = new QVBoxLayout;
    body->setContentsMargins(8, 0, 8, 0);
    body->addWidget(PageControl1, 1);
    body->addLayout(buttons);
    v->addLayout(body, 1);

    connect(btOk, &QPushButton::clicked, this, &TfrmQuestionDialog::accept);
    connect(Button1, &QPushButton::clicked, this, &QDialog::reject);
    connect(sbNew, &QPushButton::clicked, this, &TfrmQuestionDialog::sbNewClick);
    connect(sbEdit, &QPushButton::clicked, this, &TfrmQuestionDialog::sbEditClick);
    connect(sbDelete, &QPushButton::clicked, this, &TfrmQuestionDialog::sbDeleteClick);
    connect(lstAnswers, &QTableWidget::cellDoubleClicked, this, [this](int row) { editAnswer(row); });
    connect(btHtml, &QPushButton::clicked, this, [this] {
        QString text = edtBeschriftung->text();
        if (m_htmlEditor && m_htmlEditor(this, &text))
            edtBeschriftung->setText(text);
    });

    setFixedSize(clientSize.expandedTo(sizeHint()));
}

void TfrmQuestionDialog::showEvent(QShowEvent *event)
{
    PageControl1->setCurrentIndex(0);
    QDialog::showEvent(event);
    Placement::centreOnOwner(this);
}

void TfrmQuestionDialog::ClearAll()
{
    edtBeschriftung->clear();
    if (edtGroesse) {
        edtGroesse->setText(QStringLiteral("15"));
        edtLaenge->setText(QStringLiteral("100"));
    }
    chkPflicht->setChecked(false);
    edtMeldung->clear();
    edtLinkTip->clear();
    edtBild->clear();
    memoHinweis->clear();
    lstAnswers->setRowCount(0);
}

void TfrmQuestionDialog::appendRow(const QString &text, bool right)
{
    const int row = lstAnswers->rowCount();
    lstAnswers->insertRow(row);
    lstAnswers->setItem(row, 0, new QTableWidgetItem(text));
    if (isChoice()) {
        auto *item = new QTableWidgetItem(right ? kYes : kNo);
        item->setTextAlignment(Qt::AlignCenter);
        lstAnswers->setItem(row, 1, item);
    }
}

void TfrmQuestionDialog::LoadFromObject(const TQuestion &q)
{
    edtBeschriftung->setText(q.strBeschriftung);
    chkPflicht->setChecked(q.bPflicht);
    edtMeldung->setText(q.strMeldung);
    edtLinkTip->setText(q.strLinkTipp);
    edtBild->setText(q.strBild);
    memoHinweis->setPlainText(LineBreaks::toWidget(q.strErklaerung));
    if (q.kind() == QuestionKind::Simple) {
        const auto &simple = static_cast<const TSimpleQuestion &>(q);
        if (edtGroesse) {
            edtGroesse->setText(simple.strGroesse);
            edtLaenge->setText(simple.strMaxLaenge);
        }
        for (const QString &a : simple.arAnswers)
            appendRow(a, false);
    } else {
        for (const TQuestionList &o : static_cast<const TChoiceQuestion &>(q).arQuestions)
            appendRow(o.strQuestion, o.bRight);
    }
}

void TfrmQuestionDialog::SaveToObject(TQuestion &q) const
{
    q.strBeschriftung = edtBeschriftung->text();
    q.bPflicht = chkPflicht->isChecked();
    q.strMeldung = edtMeldung->text();
    q.strLinkTipp = edtLinkTip->text();
    q.strBild = edtBild->text();
    q.strErklaerung = LineBreaks::fromWidget(memoHinweis->toPlainText());
    if (q.kind() == QuestionKind::Simple) {
        auto &simple = static_cast<TSimpleQuestion &>(q);
        if (edtGroesse) {
            simple.strGroesse = edtGroesse->text();
            simple.strMaxLaenge = edtLaenge->text();
        }
        simple.arAnswers.clear();
        for (int i = 0; i < lstAnswers->rowCount(); ++i)
            simple.arAnswers << lstAnswers->item(i, 0)->text();
    } else {
        auto &choice = static_cast<TChoiceQuestion &>(q);
        choice.arQuestions.clear();
        for (int i = 0; i < lstAnswers->rowCount(); ++i)
            choice.arQuestions.push_back({lstAnswers->item(i, 0)->text(), lstAnswers->item(i, 1)->text() == kYes});
    }
}

void TfrmQuestionDialog::sbNewClick()
{
    m_answerDialog.Clear();
    m_answerDialog.chkRight()->setVisible(isChoice());
    const bool ok = m_answerDialog.exec() == QDialog::Accepted;
    m_answerDialog.chkRight()->setVisible(true);
    if (ok)
        appendRow(m_answerDialog.edtAntwort()->text(), m_answerDialog.chkRight()->isChecked());
}

void TfrmQuestionDialog::sbEditClick()
{
    editAnswer(lstAnswers->currentRow());
}

void TfrmQuestionDialog::editAnswer(int row)
{
    if (row < 0 || row >= lstAnswers->rowCount() || lstAnswers->selectedItems().isEmpty())
        return;
    m_answerDialog.Clear();
    m_answerDialog.edtAntwort()->setText(lstAnswers->item(row, 0)->text());
    m_answerDialog.chkRight()->setVisible(isChoice());
    if (isChoice())
        m_answerDialog.chkRight()->setChecked(lstAnswers->item(row, 1)->text() == kYes);
    const bool ok = m_answerDialog.exec() == QDialog::Accepted;
    m_answerDialog.chkRight()->setVisible(true);
    if (!ok)
        return;
    lstAnswers->item(row, 0)->setText(m_answerDialog.edtAntwort()->text());
    if (isChoice())
        lstAnswers->item(row, 1)->setText(m_answerDialog.chkRight()->isChecked() ? kYes : kNo);
}

void TfrmQuestionDialog::sbDeleteClick()
{
    const int row = lstAnswers->currentRow();
    if (row >= 0 && !lstAnswers->selectedItems().isEmpty())
        lstAnswers->removeRow(row);
}

int TfrmQuestionDialog::countRightAnswers() const
{
    int n = 0;
    for (int i = 0; i < lstAnswers->rowCount(); ++i)
        if (lstAnswers->item(i, 1) && lstAnswers->item(i, 1)->text() == kYes)
            ++n;
    return n;
}

void TfrmQuestionDialog::fail(const QString &message, QWidget *focus)
{
    Prompts::message(this, QStringLiteral("Pruvex"), message);
    if (focus)
        focus->setFocus();
}

bool TfrmQuestionDialog::checkInput()
{
    if (edtBeschriftung->text().isEmpty()) {
        fail(QStringLiteral("Bitte geben Sie etwas im Feld \"Beschriftung\" ein."), edtBeschriftung);
        return false;
    }
    return true;
}

void TfrmQuestionDialog::accept()
{
    if (checkInput())
        QDialog::accept();
}

TfrmEinzField::TfrmEinzField(TfrmAntwort &answerDialog, QWidget *parent)
    : TfrmQuestionDialog(QStringLiteral("Einfache Frage"), QSize(512, 356), answerDialog, parent)
{
    setObjectName(QStringLiteral("frmEinzField"));
}

TfrmCheckQuestion::TfrmCheckQuestion(TfrmAntwort &answerDialog, QWidget *parent)
    : TfrmQuestionDialog(QStringLiteral("Multiple Choice Frage"), QSize(537, 324), answerDialog, parent)
{
    setObjectName(QStringLiteral("frmCheckQuestion"));
}

bool TfrmCheckQuestion::checkInput()
{
    if (!TfrmQuestionDialog::checkInput())
        return false;
    if (countRightAnswers() == 0) {
        fail(QStringLiteral("Mindestens eine Antwortmöglichkeit muss als richtige Antwort eingestellt sein."), nullptr);
        return false;
    }
    return true;
}

TfrmSingleQuestion::TfrmSingleQuestion(TfrmAntwort &answerDialog, QWidget *parent)
    : TfrmQuestionDialog(QStringLiteral("Single Choice Frage"), QSize(521, 329), answerDialog, parent)
{
    setObjectName(QStringLiteral("frmSingleQuestion"));
}

bool TfrmSingleQuestion::checkInput()
{
    if (edtBeschriftung->text().isEmpty()) {
        fail(QStringLiteral("Bitte geben Sie etwas im Feld \"Name\" ein."), edtBeschriftung);
        return false;
    }
    const int right = countRightAnswers();
    if (right == 0) {
        fail(QStringLiteral("Eine Antwortmöglichkeit muss als richtige Antwort eingestellt sein."), nullptr);
        return false;
    }
    if (right > 1) {
        fail(QStringLiteral(
                 "Mehr als eine Antwort wurde als richtig gekennzeichnet.\r\nNur eine richtige Antwort bei Single Choice Fragen möglich."),
             nullptr);
        return false;
    }
    return true;
}
