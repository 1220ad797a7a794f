#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>
#include <QStringList>

// The program's own pictures, drawn here: one palette (a deep blue with an
// orange accent), rounded shapes, anti-aliased, in every size and for
// high-resolution screens.
namespace Artwork {

QIcon appIcon();
// A toolbar or menu icon by name (see iconNames); an unknown name gives a
// neutral icon.
QIcon icon(const QString &name);
QStringList iconNames();
// The picture of the splash window, 516 by 315.
QPixmap splash();
// The banner of the about box.
QPixmap aboutPicture();
// A small sample of the captcha the page shows.
QPixmap captchaSample();
// The sketch of a styled button and input field on the tab "CSS / Buttons".
QPixmap cssIllustration();

} // namespace Artwork
