#include "projectpropertiesdialog.h"
#include "dialogbuttons.h"
#include "linebreaks.h"
#include "placement.h"

#include "quiz.h"
#include "webaddress.h"
#include "formmailerlinkdialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
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

ProjectPropertiesDialog::ProjectPropertiesDialog(Quiz &quiz, QWidget *parent)
    : QDialog(parent)
    , m_quiz(quiz)
{
    setObjectName(QStringLiteral("frmProjectSettings"));
    setWindowTitle(QStringLiteral("Formulareigenschaften"));

    m_titleEdit = lineEdit("edtTitle");
    m_authorEdit = lineEdit("edtAuthor");
    m_companyEdit = lineEdit("edtCompany");
    m_urlEdit = lineEdit("edtURL");
    m_commentEdit = new QPlainTextEdit;
    m_commentEdit->setObjectName(QStringLiteral("edtComment"));
    m_commentEdit->setTabChangesFocus(true);
    // The comment takes the height that the fixed size leaves, at least four lines.
    m_commentEdit->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
    m_commentEdit->setMinimumHeight(4 * m_commentEdit->fontMetrics().lineSpacing() + 2 * m_commentEdit->frameWidth() + 8);
    m_openUrlButton = new QToolButton;
    m_openUrlButton->setObjectName(QStringLiteral("btGOIP"));
    m_openUrlButton->setAutoRaise(true);
    m_openUrlButton->setIcon(FormMailerLinkDialog::linkIcon(this));
    m_openUrlButton->setToolTip(QStringLiteral("Adresse im Browser öffnen"));
    m_openUrlButton->setAccessibleName(QStringLiteral("Adresse im Browser öffnen"));
    m_openUrlButton->setFocusPolicy(Qt::StrongFocus);

    auto *grid = new QGridLayout;
    auto addRow = [grid](int row, const QString &caption, QWidget *field) {
        auto *label = new QLabel(caption);
        label->setBuddy(field);
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1);
    };
    addRow(0, QStringLiteral("&Titel:"), m_titleEdit);
    addRow(1, QStringLiteral("&Autor:"), m_authorEdit);
    addRow(2, QStringLiteral("&Firma:"), m_companyEdit);
    auto *url = new QHBoxLayout;
    url->addWidget(m_urlEdit, 1);
    url->addWidget(m_openUrlButton);
    auto *urlLabel = new QLabel(QStringLiteral("&URL:"));
    urlLabel->setBuddy(m_urlEdit);
    grid->addWidget(urlLabel, 3, 0);
    grid->addLayout(url, 3, 1);
    // The comment takes the whole width below its label.
    auto *commentLabel = new QLabel(QStringLiteral("&Kommentar:"));
    commentLabel->setBuddy(m_commentEdit);
    grid->addWidget(commentLabel, 4, 0, 1, 2);
    grid->addWidget(m_commentEdit, 5, 0, 1, 2);
    grid->setRowStretch(5, 1);

    const DialogButtons::Row okCancel = DialogButtons::okCancel("btOK", "btCancel", DialogButtons::Order::CancelFirst);
    m_okButton = okCancel.ok;
    m_cancelButton = okCancel.cancel;
    QHBoxLayout *buttons = okCancel.layout;

    auto *v = new QVBoxLayout(this);
    v->addLayout(grid, 1);
    v->addLayout(buttons);

    setTabOrder(m_titleEdit, m_authorEdit);
    setTabOrder(m_authorEdit, m_companyEdit);
    setTabOrder(m_companyEdit, m_urlEdit);
    setTabOrder(m_urlEdit, m_openUrlButton);
    setTabOrder(m_openUrlButton, m_commentEdit);
    setTabOrder(m_commentEdit, m_cancelButton);
    setTabOrder(m_cancelButton, m_okButton);

    connect(m_okButton, &QPushButton::clicked, this, &ProjectPropertiesDialog::accept);
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_openUrlButton, &QToolButton::clicked, this, [this] { WebAddress::open(this, m_urlEdit->text()); });

    // The values, in the order title, author, URL, company, comment.
    m_fields = {{m_titleEdit, SettingKey::ProjectSettings_title, {}, {}},
                {m_authorEdit, SettingKey::ProjectSettings_author, {}, {}},
                {m_urlEdit, SettingKey::ProjectSettings_url, {}, {}},
                {m_companyEdit, SettingKey::ProjectSettings_company, {}, {}},
                {m_commentEdit, SettingKey::ProjectSettings_comment, {}, {}}};
    for (Field &f : m_fields) {
        f.original = m_quiz.text(f.key);
        if (auto *edit = qobject_cast<QLineEdit *>(f.control))
            edit->setText(f.original);
        else
            m_commentEdit->setPlainText(LineBreaks::toWidget(f.original));
        f.shown = fieldText(f);
    }

    setFixedSize(QSize(332, 358).expandedTo(sizeHint()));
}

QString ProjectPropertiesDialog::fieldText(const Field &field) const
{
    if (auto *edit = qobject_cast<QLineEdit *>(field.control))
        return edit->text();
    return m_commentEdit->toPlainText();
}

bool ProjectPropertiesDialog::edit(QWidget *parent, Quiz &quiz)
{
    ProjectPropertiesDialog dialog(quiz, parent);
    return dialog.exec() == QDialog::Accepted;
}

void ProjectPropertiesDialog::accept()
{
    for (const Field &f : m_fields) {
        const QString text = fieldText(f);
        if (text == f.shown)
            m_quiz.setText(f.key, f.original);
        else
            m_quiz.setText(f.key, f.control == m_commentEdit ? LineBreaks::fromWidget(text) : text);
    }
    QDialog::accept();
}

void ProjectPropertiesDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (parentWidget())
        Placement::centreOnOwner(this);
    m_titleEdit->setFocus();
}
