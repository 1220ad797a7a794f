#include "formmailerlinkdialog.h"
#include "dialogbuttons.h"
#include "placement.h"

#include "artwork.h"

#include "webaddress.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <limits>

FormMailerLinkDialog::FormMailerLinkDialog(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmFormMailLinkEdit"));
    setWindowTitle(QStringLiteral("Formmailer-Link bearbeiten"));

    auto *group = new QGroupBox(QStringLiteral("Formmailer-Link bearbeiten"));
    auto *label = new QLabel(QStringLiteral("&Link:"));
    m_linkEdit = new QLineEdit(QStringLiteral("http://"));
    m_linkEdit->setObjectName(QStringLiteral("edtFormmailLink"));
    m_linkEdit->setMaxLength(std::numeric_limits<int>::max());
    label->setBuddy(m_linkEdit);
    m_testButton = new QToolButton;
    m_testButton->setObjectName(QStringLiteral("btCheckFormmail"));
    m_testButton->setAutoRaise(true);
    m_testButton->setIcon(linkIcon(this));
    m_testButton->setToolTip(QStringLiteral("Link testen"));
    m_testButton->setAccessibleName(QStringLiteral("Link testen"));
    m_testButton->setFocusPolicy(Qt::StrongFocus);
    auto *row = new QHBoxLayout(group);
    row->addWidget(label);
    row->addWidget(m_linkEdit, 1);
    row->addWidget(m_testButton);

    const DialogButtons::Row okCancel = DialogButtons::okCancel("btOK", "btCancel", DialogButtons::Order::OkFirst);
    m_okButton = okCancel.ok;
    m_cancelButton = okCancel.cancel;
    QHBoxLayout *buttons = okCancel.layout;

    auto *v = new QVBoxLayout(this);
    v->setContentsMargins(8, 8, 8, 8);
    v->addWidget(group);
    v->addStretch(1);
    v->addLayout(buttons);

    connect(m_okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    // Enter in the edit confirms, as OK does.
    connect(m_linkEdit, &QLineEdit::returnPressed, this, &QDialog::accept);
    connect(m_testButton, &QToolButton::clicked, this, [this] { testLink(this, m_linkEdit->text()); });

    setTabOrder(m_linkEdit, m_testButton);
    setTabOrder(m_testButton, m_okButton);
    setTabOrder(m_okButton, m_cancelButton);
    setFixedSize(QSize(459, 118).expandedTo(sizeHint()));
}

QString FormMailerLinkDialog::link() const
{
    return m_linkEdit->text();
}

void FormMailerLinkDialog::setLink(const QString &link)
{
    m_linkEdit->setText(link);
}

void FormMailerLinkDialog::testLink(QWidget *parent, const QString &address)
{
    WebAddress::open(parent, address, QStringLiteral("?action=checkurl"));
}

QIcon FormMailerLinkDialog::linkIcon(const QWidget *)
{
    return Artwork::icon(QStringLiteral("linktest"));
}

void FormMailerLinkDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (parentWidget())
        Placement::centreOnOwner(this);
    m_linkEdit->setFocus();
}
