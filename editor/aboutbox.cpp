#include "aboutbox.h"
#include "version.h"
#include "placement.h"

#include "artwork.h"
#include "links.h"
#include "prompts.h"

#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QUrl>
#include <QVBoxLayout>

namespace {
QLabel *centredLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignHCenter);
    label->setWordWrap(true);
    return label;
}
} // namespace

AboutBox::AboutBox(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("Info"));
    setFixedSize(290, 405);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 18, 18, 14);
    layout->setSpacing(6);

    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("ProgramIcon"));
    picture->setPixmap(Artwork::aboutPicture());
    picture->setAlignment(Qt::AlignHCenter);
    picture->setAccessibleName(QStringLiteral("Pruvex-Logo"));
    layout->addWidget(picture);
    layout->addSpacing(4);

    auto *product = centredLabel(QStringLiteral("Pruvex"), this);
    product->setObjectName(QStringLiteral("ProductName"));
    QFont big = product->font();
    big.setPointSizeF(big.pointSizeF() * 2.2);
    big.setBold(true);
    product->setFont(big);
    layout->addWidget(product);

    auto *version = centredLabel(QStringLiteral("Version " PRUVEX_VERSION), this);
    version->setObjectName(QStringLiteral("Version"));
    layout->addWidget(version);
    layout->addStretch(1);

    // The links open through the one seam for addresses, never by themselves.
    const QString homepage = QString::fromLatin1(Links::homepage);
    const QString email = QString::fromLatin1(Links::email);
    auto *copyright = centredLabel(QStringLiteral("© 2026 Pruvex<br><a href=\"%1\">%2</a><br><a href=\"mailto:%3\">%3</a>")
                                       .arg(homepage, QUrl(homepage).host(), email),
                                   this);
    copyright->setObjectName(QStringLiteral("Copyright"));
    copyright->setTextFormat(Qt::RichText);
    copyright->setOpenExternalLinks(false);
    copyright->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    connect(copyright, &QLabel::linkActivated, this, [](const QString &link) { Prompts::openUrl(QUrl(link)); });
    layout->addWidget(copyright);
    layout->addStretch(1);

    auto *comments = centredLabel(QStringLiteral("Pruvex darf frei weitergegeben werden."), this);
    comments->setObjectName(QStringLiteral("Comments"));
    layout->addWidget(comments);
    layout->addStretch(1);

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    ok->setAutoDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addStretch(1);
    layout->addLayout(buttons);
}

void AboutBox::showEvent(QShowEvent *event)
{
    // Centred on the window that owns the box, every time it is shown.
    Placement::centreOnOwner(this);
    if (auto *ok = findChild<QPushButton *>(QStringLiteral("OKButton")))
        ok->setFocus();
    QDialog::showEvent(event);
}
