#include "uInputAnswer.h"
#include "placement.h"

#include "prompts.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TfrmAntwort::TfrmAntwort(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAntwort"));
    setWindowTitle(QStringLiteral("Antwort eingeben"));

    auto *group = new QGroupBox(QStringLiteral("Bitte geben Sie eine mögliche Anwort ein:"));
    auto *g = new QVBoxLayout(group);
    m_edtAntwort = new QLineEdit;
    m_edtAntwort->setObjectName(QStringLiteral("edtAntwort"));
    m_edtAntwort->setAccessibleName(QStringLiteral("Antwort"));
    m_chkRight = new QCheckBox(QStringLiteral("Richtige Antwort"));
    m_chkRight->setObjectName(QStringLiteral("chkRight"));
    g->addWidget(m_edtAntwort);
    g->addWidget(m_chkRight);

    auto *cancel = new QPushButton(QStringLiteral("Abbrechen"));
    cancel->setObjectName(QStringLiteral("Button1"));
    auto *ok = new QPushButton(QStringLiteral("OK"));
    ok->setObjectName(QStringLiteral("OK"));
    ok->setDefault(true);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ok, &QPushButton::clicked, this, &TfrmAntwort::accept);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cancel);
    buttons->addWidget(ok);

    auto *v = new QVBoxLayout(this);
    v->setContentsMargins(8, 8, 8, 8);
    v->addWidget(group);
    v->addLayout(buttons);
    setFixedSize(QSize(397, 120).expandedTo(sizeHint()));
}

void TfrmAntwort::Clear()
{
    m_edtAntwort->clear();
    m_chkRight->setChecked(false);
}

void TfrmAntwort::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    Placement::centreOnOwner(this);
    m_edtAntwort->setFocus();
}

void TfrmAntwort::accept()
{
    if (m_edtAntwort->text().isEmpty()) {
        Prompts::message(this, QStringLiteral("Pruvex"), QStringLiteral("Bitte geben Sie eine Antwort ein."));
        m_edtAntwort->setFocus();
        return;
    }
    QDialog::accept();
}
