#pragma once

#include "settingstable.h"

#include <QMetaType>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// The quiz settings: one table, in the order of the project file, that the
// reader, the writer, the window's bindings and pruvex-cli all iterate over.

enum class SettingKind {
    Text,   // one line, not validated
    Lines,  // several lines separated by CR LF; may hold HTML
    Number, // a whole number held as its decimal text
    Flag,   // on or off
    Choice, // free text with suggested items
    Colour, // RRGGBB as typed, at most six characters
    List    // exactly one item of a closed list (encoding)
};

// How the project file reader gets a setting from the file.
enum class ReadRule {
    Text,         // text; the row's readDefault when missing or unreadable
    RequiredFlag, // flag; missing, empty or not a flag fails the load
    FlagDefault,  // flag; readDefault ("-1"/"0") when missing or not a flag
    CaptchaFlag,  // text with default "0", then converted as a required flag
    KeepFlag      // flag; missing or not a flag keeps the current value
};

enum class SettingStore { Window, Ext };

enum class ItemList { None, Fonts, BorderStyles, Units, FormMailers, Encodings };

// A setting by its key: SettingKey::edtFormTitel. A key that is not in the
// table does not compile; its value is the row's index in Settings::all().
enum class SettingKey : int {
#define PRUVEX_SETTING_KEY(key, ...) key,
    PRUVEX_SETTINGS(PRUVEX_SETTING_KEY)
#undef PRUVEX_SETTING_KEY
};
Q_DECLARE_METATYPE(SettingKey)

struct SettingDef {
    const char *key;
    SettingKey id;
    SettingKind kind;
    SettingStore store;
    const char *initial; // initial value; flags as "-1" or "0"
    const char *caption; // caption of the control, empty where it has none
    int minimum;         // number range, used when hasRange
    int maximum;
    bool hasRange;
    ItemList items;
    ReadRule readRule;
    const char *readDefault; // default of the reader for Text and FlagDefault
};

// One address field the participant may be asked for: the flag that shows
// it, its caption setting, the name of its input in the page, the flag that
// makes it required, and its name in the alert of the input check.
struct AddressField {
    SettingKey shown;
    SettingKey label;
    const char *input;
    SettingKey required;
    const char *alertName;
    const char *panel; // the panel on the tab "Adressfelder" that holds caption and check
};

namespace Settings {

// All 77 settings in the project file's order.
const std::vector<SettingDef> &all();
int count();
// The row of a key.
const SettingDef &def(SettingKey key);
// The key's text, as the project file and the control's object name hold it.
QString keyName(SettingKey key);
// The key of a text read from a file, JSON or an object name; nothing when
// no setting has that name.
std::optional<SettingKey> keyOf(const QString &name);

QStringList items(ItemList list);

// The seven address fields in their fixed order.
const std::vector<AddressField> &addressFields();

// The address of the quiz script that a new quiz posts to.
QString initialFormMailer();

QString flagText(bool on); // "-1" or "0"
// Parses a flag as the project file holds it: a decimal number (zero is off)
// or "True"/"False" in any letter case. Returns false when text is no flag.
bool parseFlag(const QString &text, bool *on);

} // namespace Settings
