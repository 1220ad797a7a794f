#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// The hidden fields that hand a quiz's questions, right answers and
// evaluation settings to the quiz script on the server. The page generator
// writes them and pruvex-server reads them, both through this unit, so the
// key, the text rule and the field names exist once.
//
// The text rule, for the quiz script:
//  1. Text that is ISO-8859-1 (Latin-1) goes in as it is, so a quiz script
//     that reads the original hand-off still reads every German quiz.
//  2. A character outside Latin-1 is written as a numeric character reference
//     "&#N;" (N decimal, the Unicode code point), and a literal "&#" of the
//     text as "&#38;#", so that every text comes back unchanged.
//  3. In a list of answers joined by "#" (and "|" between an option's
//     field name or number and its text), a "#" or "|" inside an item is
//     written as "&#35;" or "&#124;", and an "&" that ends an item as
//     "&#38;". So a "#" that follows "&" belongs to a reference, and every
//     other "#" joins two items: the list splits unambiguously.
//  4. The result is scrambled (each UTF-16 code unit XOR scrambleKey, which
//     keeps Latin-1 in Latin-1) where the field is scrambled, and Base64 of its
//     Latin-1 bytes where the field is Base64.
// Reading reverses it: Base64, Latin-1, unscramble, split, then every
// "&#N;" becomes its character.
namespace Handoff {

// The scrambling key. The quiz script reverses the scrambling with the same
// key: change it only together with the script.
constexpr ushort scrambleKey = 0x17;

// XOR of every UTF-16 code unit with scrambleKey; its own inverse.
QString scramble(const QString &text);
// Base64 (RFC 4648, padded, one line) of the text's ISO-8859-1 bytes; a
// character outside Latin-1 becomes "?" (apply encodeText first).
QString base64(const QString &text);
// Appends base64(text) to out; with scrambled, scrambledBase64(text).
void appendBase64(QString &out, QStringView text, bool scrambled = false);
// The Latin-1 text of Base64; nothing when value is no Base64.
std::optional<QString> fromBase64(const QString &value);

// Rule 2: the text with every character outside Latin-1 as "&#N;".
QString encodeText(const QString &text);
// Rules 2 and 3, for an item of a joined list.
QString encodeItem(const QString &text);
// The reverse of encodeText and encodeItem: every "&#N;" (N decimal, a valid
// code point) becomes its character.
QString decodeText(const QString &text);

// The separators of the right-answer lists.
constexpr char16_t listSeparator = u'#';
constexpr char16_t itemSeparator = u'|';

// Items joined by "#", each encoded by encodeItem.
QString joinItems(const QStringList &items);
// Splits a joined list at every "#" that does not follow "&"; the items are
// not yet decoded (split each at its first "|" where the field has that
// form, then decodeText).
QStringList splitItems(const QString &joined);

// The scrambled-and-Base64 form of a text (admin, settingsc, right answers).
QString scrambledBase64(const QString &text);
// Reverses scrambledBase64 up to rule 2: the unscrambled text, not decoded.
std::optional<QString> unscrambleBase64(const QString &value);

// The flag forms of the hand-off: "true" or "false", scrambled.
QString scrambledFlag(bool on);
std::optional<bool> unscrambleFlag(const QString &scrambled);

// One hidden field line, CR LF included; value is written as it stands.
QString hiddenField(const QString &name, const QString &value);
// The same line, appended to out.
void appendHiddenField(QString &out, QStringView name, QStringView value);

// The line-break marker of auswertung_text.
inline QString lineBreakMarker()
{
    return QStringLiteral("#br#");
}

} // namespace Handoff
