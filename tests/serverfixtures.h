#pragma once

// Helpers of the quiz server's tests: the sample quiz's page as the
// generator writes it, its hidden fields, and a form body as a browser
// sends it.

#include "generatedpage.h"
#include "projectfile.h"
#include "quiz.h"
#include "textcodec.h"

#include <QDir>
#include <QList>
#include <QPair>
#include <QRegularExpression>
#include <QString>
#include <QUrl>

namespace ServerFixture {

using Fields = QList<QPair<QString, QString>>;

// The sample quiz (beispiel.pvx beside the tests) posting to formMailer.
inline QString samplePage(const QString &formMailer, bool captcha, int formId = 4711, bool utf8 = true)
{
    Quiz quiz;
    if (!loadProjectFile(quiz, QStringLiteral(PRUVEX_BIN_DIR "/beispiel.pvx")))
        return {};
    quiz.setText(SettingKey::cboFormMailer, formMailer);
    quiz.setFlag(SettingKey::chkCaptcha, captcha);
    if (!utf8)
        quiz.setText(SettingKey::encoding, QStringLiteral("iso-8859-1"));
    PageOptions options;
    options.templatePath = QStringLiteral(PRUVEX_BIN_DIR "/template.htm");
    options.formIdSource = [formId] { return formId; };
    GeneratedPage page;
    generatePage(quiz, &page, nullptr, options);
    return page.text;
}

// The hidden fields of a page in page order, values as the browser reads
// them (the four entities the generator writes undone).
inline Fields hiddenFields(const QString &page)
{
    static const QRegularExpression input(QStringLiteral("<input type=\"hidden\" name=\"([^\"]*)\" value=\"([^\"]*)\">"));
    Fields out;
    auto it = input.globalMatch(page);
    while (it.hasNext()) {
        const auto m = it.next();
        QString v = m.captured(2);
        v.replace(QLatin1String("&quot;"), QLatin1String("\"")).replace(QLatin1String("&lt;"), QLatin1String("<"));
        v.replace(QLatin1String("&gt;"), QLatin1String(">")).replace(QLatin1String("&amp;"), QLatin1String("&"));
        out.append({m.captured(1), v});
    }
    return out;
}

// The body a browser sends: each value in the page's charset, percent-encoded;
// in windows-1252 a character the code page cannot hold as "&#N;".
inline QByteArray formBody(const Fields &fields, bool utf8 = true)
{
    QByteArray body;
    for (const auto &[name, value] : fields) {
        if (!body.isEmpty())
            body += '&';
        QByteArray bytes;
        if (utf8) {
            bytes = value.toUtf8();
        } else {
            for (const uint cp : value.toUcs4()) {
                const QString c = QString::fromUcs4(reinterpret_cast<const char32_t *>(&cp), 1);
                const QByteArray b = TextCodec::toCodePage(c);
                bytes += b == "?" && c != QLatin1String("?") ? QByteArray("&#") + QByteArray::number(cp) + ';' : b;
            }
        }
        body += name.toUtf8().toPercentEncoding() + '=' + bytes.toPercentEncoding().replace("%20", "+");
    }
    return body;
}

// Fields with some values replaced or added (name, value) and some removed.
inline Fields with(Fields fields, const Fields &set, const QStringList &remove = {})
{
    for (const QString &r : remove)
        fields.removeIf([&](const auto &f) { return f.first == r; });
    for (const auto &s : set) {
        auto it = std::find_if(fields.begin(), fields.end(), [&](const auto &f) { return f.first == s.first; });
        if (it != fields.end())
            it->second = s.second;
        else
            fields.append(s);
    }
    return fields;
}

} // namespace ServerFixture
