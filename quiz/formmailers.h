#pragma once

#include <QString>
#include <QStringList>

class Quiz;

// The per-user list of quiz-script addresses, "formmailers.xml".
namespace FormMailers {

QString fileName(); // "formmailers.xml"
QString userFilePath();

// Copies the program folder's list into the per-user folder when the user
// has none; an existing file is never replaced. Failures are ignored.
void seedUserFile();

// The drop-down entries: the texts of the children of the root's first
// child. Reading stops silently at the first failure.
QStringList readDropDownEntries(const QString &path);
// How a reading went: the whole list was read, there is no file, or the
// file could not be read in full (not readable, not XML, no "formmailers",
// an entry that holds elements). Only after Read or Missing may the list
// shown replace the file without losing anything.
enum class ReadResult { Read, Missing, Unreadable };

// The manager's rows: the texts of the children of the root's child
// "formmailers". Reading stops silently at the first failure; result, when
// given, says how far it came.
QStringList readManagerEntries(const QString &path, ReadResult *result = nullptr);
// The same two readings of a file's bytes. A file that cannot be read, is
// refused by the reader's limits or does not fit into memory gives no entries.
QStringList dropDownEntries(const QByteArray &data);
QStringList managerEntries(const QByteArray &data);
QByteArray toBytes(const QStringList &entries);
// Seeds the per-user file when the user has none and gives quiz its entries.
void loadInto(Quiz &quiz);
bool save(const QString &path, const QStringList &entries, QString *error);

} // namespace FormMailers
