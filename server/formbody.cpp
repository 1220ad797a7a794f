#include "formbody.h"

#include "handoff.h"
#include "textcodec.h"

#include <QByteArray>
#include <vector>

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Percent-decoding with "+" as blank; a "%" without two hex digits stays.
QByteArray unescape(std::string_view s)
{
    QByteArray out;
    out.reserve(int(s.size()));
    for (size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '+') {
            out += ' ';
        } else if (c == '%' && i + 2 < s.size() && hexValue(s[i + 1]) >= 0 && hexValue(s[i + 2]) >= 0) {
            out += char(hexValue(s[i + 1]) * 16 + hexValue(s[i + 2]));
            i += 2;
        } else {
            out += c;
        }
    }
    return out;
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
            const QByteArray e = value.trimmed().toLower();
            m_utf8 = e == "utf-8" || e == "utf8";
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
