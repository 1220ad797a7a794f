#pragma once

#include <QString>

// Writes a generated page to a file in the encoding it declares: UTF-8 without
// byte-order mark when encoding names UTF-8 in any letter case ("utf-8",
// "UTF-8", ...), else the 8-bit code page.
// The old file stays as it was when the write fails; error holds the reason.
bool exportPage(const QString &page, const QString &encoding, const QString &path, QString *error);
