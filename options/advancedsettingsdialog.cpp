#include "advancedsettingsdialog.h"
#include "dialogbuttons.h"
#include "placement.h"

#include "quiz.h"
#include "settings.h"
#include "textcodec.h"
#include "webaddress.h"
#include "formmailerlinkdialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <limits>

AdvancedSettingsDialog::AdvancedSettingsDialog(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmErwEinstellungen"));
    setWindowTitle(QStringLiteral("Erweiterte Formulareinstellungen"));

    auto *errorPages = new QGroupBox(QStringLiteral("Fehlerseiten"));
    auto *captchaLabel = new QLabel(QStringLiteral("&Captcha-Spam-Schutz:"));
    m_captchaEdit = new QLineEdit;
    m_captchaEdit->setObjectName(QStringLiteral("edtCaptcha"));
    m_captchaEdit->setMaxLength(std::numeric_limits<int>::max());
    captchaLabel->setBuddy(m_captchaEdit);
    m_openCaptchaButton = new QToolButton;
    m_openCaptchaButton->setObjectName(QStringLiteral("btGOCaptcha"));
    m_openCaptchaButton->setAutoRaise(true);
    m_openCaptchaButton->setIcon(FormMailerLinkDialog::linkIcon(this));
    m_openCaptchaButton->setToolTip(QStringLiteral("Adresse im Browser öffnen"));
    m_openCaptchaButton->setAccessibleName(QStringLiteral("Adresse im Browser öffnen"));
    m_openCaptchaButton->setFocusPolicy(Qt::StrongFocus);
    auto *note = new QLabel(QStringLiteral("Ein leeres Feld zeigt die Standard-Fehlerseite an. Sonst geben\n"
                                           "Sie die vollständige Internetadresse einer HTML-Seite ein,\n"
                                           "z. B. http://www.ihre-domain.de/fehler.html"));
    note->setObjectName(QStringLiteral("lblHinweis"));
    note->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *e = new QGridLayout(errorPages);
    e->addWidget(captchaLabel, 0, 0);
    e->addWidget(m_captchaEdit, 0, 1);
    e->addWidget(m_openCaptchaButton, 0, 2);
    e->addWidget(note, 1, 0, 1, 3);
    e->setColumnStretch(1, 1);

    auto *other = new QGroupBox(QStringLiteral("Sonstige Einstellungen"));
    auto *encodingLabel = new QLabel(QStringLiteral("&Formularkodierung:"));
    m_encodingCombo = new QComboBox;
    m_encodingCombo->setObjectName(QStringLiteral("cboEncoding"));
    m_encodingCombo->setEditable(false);
    m_encodingCombo->addItems(Settings::items(ItemList::Encodings));
    m_encodingCombo->setCurrentIndex(0);
    encodingLabel->setBuddy(m_encodingCombo);
    auto *o = new QHBoxLayout(other);
    o->addWidget(encodingLabel);
    o->addWidget(m_encodingCombo);
    o->addStretch(1);

    const DialogButtons::Row okCancel = DialogButtons::okCancel("Button1", "btCancel", DialogButtons::Order::OkFirst);
    m_okButton = okCancel.ok;
    m_cancelButton = okCancel.cancel;
    QHBoxLayout *buttons = okCancel.layout;

    auto *v = new QVBoxLayout(this);
    v->addWidget(errorPages);
    v->addWidget(other);
    v->addStretch(1);
    v->addLayout(buttons);

    setTabOrder(m_captchaEdit, m_openCaptchaButton);
    setTabOrder(m_openCaptchaButton, m_encodingCombo);
    setTabOrder(m_encodingCombo, m_okButton);
    setTabOrder(m_okButton, m_cancelButton);

    connect(m_okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_openCaptchaButton, &QToolButton::clicked, this, [this] { WebAddress::open(this, m_captchaEdit->text()); });

    setFixedSize(QSize(489, 238).expandedTo(sizeHint()));
}

bool AdvancedSettingsDialog::edit(QWidget *parent, Quiz &quiz)
{
    AdvancedSettingsDialog dialog(parent);
    dialog.m_captchaEdit->setText(quiz.text(SettingKey::CaptchaErrorPage));
    // The item the page is written in: "utf-8" for every name of UTF-8
    // ("UTF-8" too), else "iso-8859-1", the 8-bit code page.
    const QString encoding = quiz.text(SettingKey::encoding);
    const int shown = TextCodec::namesUtf8(encoding) ? 1 : 0;
    dialog.m_encodingCombo->setCurrentIndex(shown);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    quiz.setText(SettingKey::CaptchaErrorPage, dialog.m_captchaEdit->text());
    // An untouched choice keeps the encoding as it was written.
    if (dialog.m_encodingCombo->currentIndex() != shown)
        quiz.setText(SettingKey::encoding, dialog.m_encodingCombo->currentText());
    return true;
}

void AdvancedSettingsDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    Placement::centreOnOwner(this);
    m_captchaEdit->setFocus();
}
