#include "answerdialog.h"
#include "dialogbuttons.h"
#include "placement.h"

#include "prompts.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <limits>

AnswerDialog::AnswerDialog(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAntwort"));
    setWindowTitle(QStringLiteral("Antwort eingeben"));

    auto *group = new QGroupBox(QStringLiteral("Bitte geben Sie eine mögliche Anwort ein:"));
    auto *g = new QVBoxLayout(group);
    m_textEdit = new QLineEdit;
    m_textEdit->setObjectName(QStringLiteral("edtAntwort"));
    m_textEdit->setMaxLength(std::numeric_limits<int>::max());
    m_textEdit->setAccessibleName(QStringLiteral("Antwort"));
    m_rightCheck = new QCheckBox(QStringLiteral("&Richtige Antwort"));
    m_rightCheck->setObjectName(QStringLiteral("chkRight"));
    g->addWidget(m_textEdit);
    g->addWidget(m_rightCheck);

    const DialogButtons::Row okCancel = DialogButtons::okCancel("OK", "Button1", DialogButtons::Order::CancelFirst);
    QPushButton *cancel = okCancel.cancel;
    QPushButton *ok = okCancel.ok;
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ok, &QPushButton::clicked, this, &AnswerDialog::accept);
    QHBoxLayout *buttons = okCancel.layout;

    auto *v = new QVBoxLayout(this);
    v->setContentsMargins(8, 8, 8, 8);
    v->addWidget(group);
    v->addLayout(buttons);
    setFixedSize(QSize(397, 120).expandedTo(sizeHint()));
}

void AnswerDialog::clear()
{
    m_textEdit->clear();
    m_rightCheck->setChecked(false);
}

void AnswerDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    Placement::centreOnOwner(this);
    m_textEdit->setFocus();
}

void AnswerDialog::accept()
{
    if (m_textEdit->text().isEmpty()) {
        Prompts::message(this, QStringLiteral("Pruvex"), QStringLiteral("Bitte geben Sie eine Antwort ein."));
        m_textEdit->setFocus();
        return;
    }
    QDialog::accept();
}
