#pragma once

#include <QString>

// The messages for an allocation that failed: a load, a save or a page
// generation ends with one of them instead of an abort.
namespace OutOfMemory {

inline QString reading()
{
    return QStringLiteral("Der Arbeitsspeicher reicht nicht aus, um die Datei zu lesen.");
}

inline QString saving()
{
    return QStringLiteral("Der Arbeitsspeicher reicht nicht aus, um die Datei zu speichern.");
}

inline QString generating()
{
    return QStringLiteral("Der Arbeitsspeicher reicht nicht aus, um die Seite zu erzeugen.");
}

} // namespace OutOfMemory
