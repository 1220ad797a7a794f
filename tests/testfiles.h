#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// Small file helpers shared by the tests.
namespace TestFiles {

// The file's bytes; a marker that no real file holds when it cannot be read.
inline QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(unreadable)");
}

inline bool writeFile(const QString &path, const QByteArray &data)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

} // namespace TestFiles
