#include "uProjectSettings.h"
#include "linebreaks.h"
#include "placement.h"

#include "prompts.h"
#include "quiz.h"
#include "uFormmailerInput.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <limits>

namespace {

QLineEdit *lineEdit(const char *name)
{
    auto *edit = new QLineEdit;
    edit->setObjectName(QLatin1String(name));
    edit->setMaxLength(std::numeric_limits<int>::max());
    return edit;
}
} // namespace

TfrmProjectSettings::TfrmProjectSettings(Quiz &quiz, QWidget *parent)
    : QDialog(parent)
    , m_quiz(quiz)
{
    setObjectName(QStringLiteral("frmProjectSettings"));
    setWindowTitle(QStringLiteral("Formulareigenschaften"));

    edtTitle = lineEdit("edtTitle");
    edtAuthor = lineEdit("edtAuthor");
    edtCompany = lineEdit("edtCompany");
    edtURL = lineEdit("edtURL");
    edtComment = new QPlainTextEdit;
    edtComment->setObjectName(QStringLiteral("edtComment"));
    edtComment->setTabChangesFocus(true);
    // The comment takes the height that the fixed size leaves, at least four lines.
    edtComment->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
    edtComment->setMinimumHeight(4 * edtComment->fontMetrics().lineSpacing() + 2 * edtComment->frameWidth() + 8);
    btGOIP = new QToolButton;
    btGOIP->setObjectName(QStringLiteral("btGOIP"));
    btGOIP->setAutoRaise(true);
    btGOIP->setIcon(TfrmFormMailLinkEdit::linkIcon(this));
    btGOIP->setToolTip(QStringLiteral("Adresse im Browser öffnen"));
    btGOIP->setAccessibleName(QStringLiteral("Adresse im Browser öffnen"));
    btGOIP->setFocusPolicy(Qt::StrongFocus);

    auto *grid = new QGridLayout;
    auto addRow = [grid](int row, const QString &caption, QWidget *field) {
        auto *label = new QLabel(caption);
        label->setBuddy(field);
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1);
    };
    addRow(0, QStringLiteral("&Titel:"), edtTitle);
    addRow(1, QStringLiteral("&Autor:"), edtAuthor);
    addRow(2, QStringLiteral("&Firma:"), edtCompany);
    auto *url = new QHBoxLayout;
    url->addWidget(edtURL, 1);
    url->addWidget(btGOIP);
    auto *urlLabel = new QLabel(QStringLiteral("&URL:"));
    urlLabel->setBuddy(edtURL);
    grid->addWidget(urlLabel, 3, 0);
    grid->addLayout(url, 3, 1);
    // The comment takes the whole width below its label.
    auto *commentLabel = new QLabel(QStringLiteral("&Kommentar:"));
    commentLabel->setBuddy(edtComment);
    grid->addWidget(commentLabel, 4, 0, 1, 2);
    grid->addWidget(edtComment, 5, 0, 1, 2);
    grid->setRowStretch(5, 1);

    btCancel = new QPushButton(QStringLiteral("Abbrechen"));
    btCancel->setObjectName(QStringLiteral("btCancel"));
    btOK = new QPushButton(QStringLiteral("OK"));
    btOK->setObjectName(QStringLiteral("btOK"));
    // Without a default button Qt would make "Abbrechen", the first in the
    // tab order, the default, and Enter in a field would drop the input.
    btOK->setDefault(true);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btCancel);
    buttons->addWidget(btOK);

    auto *v = new QVBoxLayout(this);
    v->addLayout(grid, 1);
    v->addLayout(buttons);

    setTabOrder(edtTitle, edtAuthor);
    setTabOrder(edtAuthor, edtCompany);
    setTabOrder(edtCompany, edtURL);
    setTabOrder(edtURL, btGOIP);
    setTabOrder(btGOIP, edtComment);
    setTabOrder(edtComment, btCancel);
    setTabOrder(btCancel, btOK);

    connect(btOK, &QPushButton::clicked, this, &TfrmProjectSettings::accept);
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(btGOIP, &QToolButton::clicked, this, [this] { Prompts::openUrl(QUrl(edtURL->text(), QUrl::TolerantMode)); });

    // The values, in the order title, author, URL, company, comment.
    m_fields = {{edtTitle, QStringLiteral("ProjectSettings_title"), {}, {}},
                {edtAuthor, QStringLiteral("ProjectSettings_author"), {}, {}},
                {edtURL, QStringLiteral("ProjectSettings_url"), {}, {}},
                {edtCompany, QStringLiteral("ProjectSettings_company"), {}, {}},
                {edtComment, QStringLiteral("ProjectSettings_comment"), {}, {}}};
    for (Field &f : m_fields) {
        f.original = m_quiz.text(f.key);
        if (auto *edit = qobject_cast<QLineEdit *>(f.control))
            edit->setText(f.original);
        else
            edtComment->setPlainText(LineBreaks::toWidget(f.original));
        f.shown = fieldText(f);
    }

    setFixedSize(QSize(332, 358).expandedTo(sizeHint()));
}

QString TfrmProjectSettings::fieldText(const Field &field) const
{
    if (auto *edit = qobject_cast<QLineEdit *>(field.control))
        return edit->text();
    return edtComment->toPlainText();
}

bool TfrmProjectSettings::edit(QWidget *parent, Quiz &quiz)
{
    TfrmProjectSettings dialog(quiz, parent);
    return dialog.exec() == QDialog::Accepted;
}

void TfrmProjectSettings::accept()
{
    for (const Field &f : m_fields) {
        const QString text = fieldText(f);
        if (text == f.shown)
            m_quiz.setText(f.key, f.original);
        else
            m_quiz.setText(f.key, f.control == edtComment ? LineBreaks::fromWidget(text) : text);
    }
    QDialog::accept();
}

void TfrmProjectSettings::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (parentWidget())
        Placement::centreOnOwner(this);
    edtTitle->setFocus();
}
