#pragma once

#include <QString>
#include <QStringList>

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
// The manager's rows: the texts of the children of the root's child
// "formmailers". Reading stops silently at the first failure.
QStringList readManagerEntries(const QString &path);
// The same two readings of a file's bytes. A file that cannot be read, is
// refused by the reader's limits or does not fit into memory gives no entries.
QStringList dropDownEntries(const QByteArray &data);
QStringList managerEntries(const QByteArray &data);
QByteArray toBytes(const QStringList &entries);
bool save(const QString &path, const QStringList &entries, QString *error);

} // namespace FormMailers
