#pragma once

#include <QByteArray>
#include <QString>

// The captcha picture: a code of five characters without look-alikes
// (no 0/O, 1/I/L, 2/Z, 5/S, 8/B, 6/G), drawn rotated on a noisy ground.
namespace Captcha {

constexpr int codeLength = 5;

QString newCode();
// The PNG of code. Needs a QGuiApplication (offscreen is enough) for fonts.
QByteArray png(const QString &code);
// The typed code compared with the issued one, blanks and case aside.
bool matches(const QString &typed, const QString &code);

} // namespace Captcha
