#include "uErwEinstellungen.h"
#include "placement.h"

#include "prompts.h"
#include "quiz.h"
#include "uFormmailerInput.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <limits>

TfrmErwEinstellungen::TfrmErwEinstellungen(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmErwEinstellungen"));
    setWindowTitle(QStringLiteral("Erweiterte Formulareinstellungen"));

    auto *errorPages = new QGroupBox(QStringLiteral("Fehlerseiten"));
    auto *captchaLabel = new QLabel(QStringLiteral("&Captcha-Spam-Schutz:"));
    edtCaptcha = new QLineEdit;
    edtCaptcha->setObjectName(QStringLiteral("edtCaptcha"));
    edtCaptcha->setMaxLength(std::numeric_limits<int>::max());
    captchaLabel->setBuddy(edtCaptcha);
    btGOCaptcha = new QToolButton;
    btGOCaptcha->setObjectName(QStringLiteral("btGOCaptcha"));
    btGOCaptcha->setAutoRaise(true);
    btGOCaptcha->setIcon(TfrmFormMailLinkEdit::linkIcon(this));
    btGOCaptcha->setToolTip(QStringLiteral("Adresse im Browser öffnen"));
    btGOCaptcha->setAccessibleName(QStringLiteral("Adresse im Browser öffnen"));
    btGOCaptcha->setFocusPolicy(Qt::StrongFocus);
    auto *note = new QLabel(QStringLiteral("Ein leeres Feld zeigt die Standard-Fehlerseite an. Sonst geben\n"
                                           "Sie die vollständige Internetadresse einer HTML-Seite ein,\n"
                                           "z. B. http://www.ihre-domain.de/fehler.html"));
    note->setObjectName(QStringLiteral("lblHinweis"));
    note->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *e = new QGridLayout(errorPages);
    e->addWidget(captchaLabel, 0, 0);
    e->addWidget(edtCaptcha, 0, 1);
    e->addWidget(btGOCaptcha, 0, 2);
    e->addWidget(note, 1, 0, 1, 3);
    e->setColumnStretch(1, 1);

    auto *other = new QGroupBox(QStringLiteral("Sonstige Einstellungen"));
    auto *encodingLabel = new QLabel(QStringLiteral("&Formularkodierung:"));
    cboEncoding = new QComboBox;
    cboEncoding->setObjectName(QStringLiteral("cboEncoding"));
    cboEncoding->setEditable(false);
    cboEncoding->addItems({QStringLiteral("iso-8859-1"), QStringLiteral("utf-8")});
    cboEncoding->setCurrentIndex(0);
    encodingLabel->setBuddy(cboEncoding);
    auto *o = new QHBoxLayout(other);
    o->addWidget(encodingLabel);
    o->addWidget(cboEncoding);
    o->addStretch(1);

    Button1 = new QPushButton(QStringLiteral("OK"));
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    btCancel = new QPushButton(QStringLiteral("Abbrechen"));
    btCancel->setObjectName(QStringLiteral("btCancel"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    buttons->addWidget(btCancel);

    auto *v = new QVBoxLayout(this);
    v->addWidget(errorPages);
    v->addWidget(other);
    v->addStretch(1);
    v->addLayout(buttons);

    setTabOrder(edtCaptcha, btGOCaptcha);
    setTabOrder(btGOCaptcha, cboEncoding);
    setTabOrder(cboEncoding, Button1);
    setTabOrder(Button1, btCancel);

    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(btGOCaptcha, &QToolButton::clicked, this, [this] { Prompts::openUrl(QUrl(edtCaptcha->text(), QUrl::TolerantMode)); });

    setFixedSize(QSize(489, 238).expandedTo(sizeHint()));
}

bool TfrmErwEinstellungen::edit(QWidget *parent, Quiz &quiz)
{
    TfrmErwEinstellungen dialog(parent);
    dialog.edtCaptcha->setText(quiz.text(QStringLiteral("CaptchaErrorPage")));
    // Exact and case-sensitive: any other text leaves "iso-8859-1" selected.
    const QString encoding = quiz.text(QStringLiteral("encoding"));
    for (int i = 0; i < dialog.cboEncoding->count(); ++i) {
        if (dialog.cboEncoding->itemText(i) == encoding)
            dialog.cboEncoding->setCurrentIndex(i);
    }
    if (dialog.exec() != QDialog::Accepted)
        return false;
    quiz.setText(QStringLiteral("CaptchaErrorPage"), dialog.edtCaptcha->text());
    quiz.setText(QStringLiteral("encoding"), dialog.cboEncoding->currentText());
    return true;
}

void TfrmErwEinstellungen::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    Placement::centreOnOwner(this);
    edtCaptcha->setFocus();
}
