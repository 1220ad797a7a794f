#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <string_view>

// The fields of a posted form (application/x-www-form-urlencoded), decoded
// in the page's charset: the hidden field "encoding" says "utf-8" for a
// UTF-8 page; every other page is read as windows-1252, which is what
// browsers send for an ISO-8859-1 page. For such a page the browser writes a
// character the charset cannot hold as "&#N;"; those become characters again.
class FormBody
{
public:
    enum class Status { Ok, TooManyFields };

    // Parses body; stops with TooManyFields beyond maxFields fields.
    Status parse(std::string_view body, int maxFields);

    bool has(const QString &name) const { return m_fields.contains(name); }
    // The first value of name; empty when not sent.
    QString value(const QString &name) const;
    // Every value of name in the order sent.
    QStringList values(const QString &name) const { return m_fields.value(name); }
    QStringList names() const { return m_order; }
    int fieldCount() const { return m_count; }
    bool isUtf8() const { return m_utf8; }

private:
    QHash<QString, QStringList> m_fields;
    QStringList m_order; // names in the order first sent
    int m_count = 0;
    bool m_utf8 = false;
};
