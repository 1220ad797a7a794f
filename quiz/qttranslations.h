#pragma once

#include <QStringList>

// Qt's own texts (the buttons of message boxes, the file and colour dialogs,
// the context menus of text fields, the command-line parser's errors, the
// embedded browser's menus and pages) in German, the language of the whole
// program. The catalogues come from the system's Qt translations folder
// (on Debian the package qt6-translations-l10n).
namespace QtTranslations {

// Makes German the default locale and loads "<name>_de.qm" for each of the
// catalogues ("qtbase", "qtwebengine") into the running application. Call it
// after creating the application and before the first window or browser.
// Returns the catalogues that could not be loaded; Qt then speaks English
// for their texts, which is no reason to stop.
QStringList installGerman(const QStringList &catalogues);

} // namespace QtTranslations
