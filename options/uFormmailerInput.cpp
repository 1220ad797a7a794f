#include "uFormmailerInput.h"
#include "placement.h"

#include "artwork.h"

#include "prompts.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <limits>

TfrmFormMailLinkEdit::TfrmFormMailLinkEdit(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmFormMailLinkEdit"));
    setWindowTitle(QStringLiteral("Formmailer-Link bearbeiten"));

    auto *group = new QGroupBox(QStringLiteral("Formmailer-Link bearbeiten"));
    auto *label = new QLabel(QStringLiteral("&Link:"));
    m_edtFormmailLink = new QLineEdit(QStringLiteral("http://"));
    m_edtFormmailLink->setObjectName(QStringLiteral("edtFormmailLink"));
    m_edtFormmailLink->setMaxLength(std::numeric_limits<int>::max());
    label->setBuddy(m_edtFormmailLink);
    m_btCheckFormmail = new QToolButton;
    m_btCheckFormmail->setObjectName(QStringLiteral("btCheckFormmail"));
    m_btCheckFormmail->setAutoRaise(true);
    m_btCheckFormmail->setIcon(linkIcon(this));
    m_btCheckFormmail->setToolTip(QStringLiteral("Link testen"));
    m_btCheckFormmail->setAccessibleName(QStringLiteral("Link testen"));
    m_btCheckFormmail->setFocusPolicy(Qt::StrongFocus);
    auto *row = new QHBoxLayout(group);
    row->addWidget(label);
    row->addWidget(m_edtFormmailLink, 1);
    row->addWidget(m_btCheckFormmail);

    m_btOK = new QPushButton(QStringLiteral("OK"));
    m_btOK->setObjectName(QStringLiteral("btOK"));
    m_btOK->setDefault(true);
    m_btCancel = new QPushButton(QStringLiteral("Abbrechen"));
    m_btCancel->setObjectName(QStringLiteral("btCancel"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_btOK);
    buttons->addWidget(m_btCancel);

    auto *v = new QVBoxLayout(this);
    v->setContentsMargins(8, 8, 8, 8);
    v->addWidget(group);
    v->addStretch(1);
    v->addLayout(buttons);

    connect(m_btOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_btCancel, &QPushButton::clicked, this, &QDialog::reject);
    // Enter in the edit confirms, as OK does.
    connect(m_edtFormmailLink, &QLineEdit::returnPressed, this, &QDialog::accept);
    connect(m_btCheckFormmail, &QToolButton::clicked, this, [this] { testLink(m_edtFormmailLink->text()); });

    setTabOrder(m_edtFormmailLink, m_btCheckFormmail);
    setTabOrder(m_btCheckFormmail, m_btOK);
    setTabOrder(m_btOK, m_btCancel);
    setFixedSize(QSize(459, 118).expandedTo(sizeHint()));
}

QString TfrmFormMailLinkEdit::link() const
{
    return m_edtFormmailLink->text();
}

void TfrmFormMailLinkEdit::setLink(const QString &link)
{
    m_edtFormmailLink->setText(link);
}

void TfrmFormMailLinkEdit::testLink(const QString &address)
{
    Prompts::openUrl(QUrl(address + QStringLiteral("?action=checkurl"), QUrl::TolerantMode));
}

QIcon TfrmFormMailLinkEdit::linkIcon(const QWidget *)
{
    return Artwork::icon(QStringLiteral("linktest"));
}

void TfrmFormMailLinkEdit::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (parentWidget())
        Placement::centreOnOwner(this);
    m_edtFormmailLink->setFocus();
}
