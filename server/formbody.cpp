#include "formbody.h"

#include "handoff.h"
#include "textcodec.h"

#include <QByteArray>
#include <vector>

namespace {

// Percent-decoding with "+" as blank (a "+" of the text comes as "%2B").
QByteArray unescape(std::string_view s)
{
    QByteArray raw(s.data(), qsizetype(s.size()));
    raw.replace('+', ' ');
    return QByteArray::fromPercentEncoding(raw);
}

bool isAscii(const QByteArray &b)
{
    for (char c : b)
        if (uchar(c) >= 0x80)
            return false;
    return true;
}

} // namespace

FormBody::Status FormBody::parse(std::string_view body, int maxFields)
{
    std::vector<std::pair<QByteArray, QByteArray>> raw;
    size_t pos = 0;
    while (pos <= body.size()) {
        size_t end = body.find('&', pos);
        if (end == std::string_view::npos)
            end = body.size();
        const std::string_view pair = body.substr(pos, end - pos);
        if (!pair.empty()) {
            if (int(raw.size()) >= maxFields)
                return Status::TooManyFields;
            const size_t eq = pair.find('=');
            raw.emplace_back(unescape(pair.substr(0, eq)), eq == std::string_view::npos ? QByteArray() : unescape(pair.substr(eq + 1)));
        }
        pos = end + 1;
    }
    for (const auto &[name, value] : raw)
        if (name == "encoding") {
            // The page was written in UTF-8 exactly when its encoding names it.
            m_utf8 = TextCodec::namesUtf8(QString::fromLatin1(value));
            break;
        }
    auto text = [this](const QByteArray &b) {
        if (isAscii(b))
            return m_utf8 ? QString::fromLatin1(b) : Handoff::decodeText(QString::fromLatin1(b));
        if (m_utf8)
            return QString::fromUtf8(b);
        return Handoff::decodeText(TextCodec::fromCodePage(b));
    };
    m_count = int(raw.size());
    for (const auto &[name, value] : raw) {
        const QString key = QString::fromLatin1(name);
        auto it = m_fields.find(key);
        if (it == m_fields.end()) {
            it = m_fields.insert(key, {});
            m_order << key;
        }
        it->append(text(value));
    }
    return Status::Ok;
}

QString FormBody::value(const QString &name) const
{
    const auto it = m_fields.constFind(name);
    return it == m_fields.constEnd() || it->isEmpty() ? QString() : it->first();
}
