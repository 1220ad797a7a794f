#include "mailreport.h"

#include <QDateTime>
#include <QRegularExpression>

namespace {

// The address fields of the page, in its order, with their German names.
const QList<QPair<QString, QString>> &addressLabels()
{
    static const QList<QPair<QString, QString>> labels = {
        {QStringLiteral("LVorname"), QStringLiteral("Vorname")}, {QStringLiteral("LName"), QStringLiteral("Name")},
        {QStringLiteral("LStrasse"), QStringLiteral("Straße")},  {QStringLiteral("LPLZ"), QStringLiteral("PLZ")},
        {QStringLiteral("LORT"), QStringLiteral("Ort")},         {QStringLiteral("LLAND"), QStringLiteral("Land")},
        {QStringLiteral("LEMAIL"), QStringLiteral("E-Mail")},
    };
    return labels;
}

QString decodeEntities(const QString &text)
{
    static const QRegularExpression entity(QStringLiteral("&(#[0-9]{1,7}|#[xX][0-9A-Fa-f]{1,6}|[A-Za-z]{2,8});"));
    static const QHash<QString, QString> named = {
        {QStringLiteral("amp"), QStringLiteral("&")},   {QStringLiteral("lt"), QStringLiteral("<")},
        {QStringLiteral("gt"), QStringLiteral(">")},    {QStringLiteral("quot"), QStringLiteral("\"")},
        {QStringLiteral("apos"), QStringLiteral("'")},  {QStringLiteral("nbsp"), QStringLiteral(" ")},
        {QStringLiteral("auml"), QStringLiteral("ä")},  {QStringLiteral("ouml"), QStringLiteral("ö")},
        {QStringLiteral("uuml"), QStringLiteral("ü")},  {QStringLiteral("Auml"), QStringLiteral("Ä")},
        {QStringLiteral("Ouml"), QStringLiteral("Ö")},  {QStringLiteral("Uuml"), QStringLiteral("Ü")},
        {QStringLiteral("szlig"), QStringLiteral("ß")}, {QStringLiteral("euro"), QStringLiteral("€")},
    };
    QString out;
    qsizetype last = 0;
    auto it = entity.globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        const QString name = m.captured(1);
        QString replacement;
        if (name.startsWith(QLatin1Char('#'))) {
            bool ok = false;
            const uint code = name.at(1).toLower() == QLatin1Char('x') ? name.mid(2).toUInt(&ok, 16) : name.mid(1).toUInt(&ok);
            if (ok && code > 0 && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF)) {
                const char32_t c = code;
                replacement = QString::fromUcs4(&c, 1);
            }
        } else {
            replacement = named.value(name);
        }
        if (replacement.isNull())
            continue;
        out += QStringView(text).mid(last, m.capturedStart() - last);
        out += replacement;
        last = m.capturedEnd();
    }
    out += QStringView(text).mid(last);
    return out;
}

QString mark(const QJsonValue &right)
{
    if (right.isBool())
        return right.toBool() ? QStringLiteral("richtig") : QStringLiteral("falsch");
    return QStringLiteral("nicht bewertet");
}

} // namespace

namespace MailReport {

QString plainText(const QString &html)
{
    static const QRegularExpression breaks(QStringLiteral("<\\s*(br|/p|p|/li|li|/div|div)\\b[^>]*>"),
                                           QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression tags(QStringLiteral("<[^>]*>"));
    static const QRegularExpression blanks(QStringLiteral("[ \\t]+"));
    static const QRegularExpression lines(QStringLiteral("\\s*\\n\\s*"));
    QString s = html;
    s.replace(QLatin1String("\r\n"), QLatin1String(" ")).replace(QLatin1Char('\n'), QLatin1Char(' '));
    s.replace(breaks, QStringLiteral("\n"));
    s.remove(tags);
    s = decodeEntities(s);
    s.replace(blanks, QStringLiteral(" "));
    s.replace(lines, QStringLiteral("\n"));
    return s.trimmed();
}

QString text(const Input &in)
{
    QStringList out;
    out << QStringLiteral("Ergebnis des Quiz \"%1\"").arg(in.subject);
    out << QStringLiteral("Formular: %1").arg(in.formId);
    const QDateTime time = QDateTime::fromString(in.time, Qt::ISODate);
    out << QStringLiteral("Eingang: %1").arg(time.isValid() ? time.toUTC().toString(QStringLiteral("dd.MM.yyyy HH:mm:ss 'UTC'")) : in.time);
    const int percent = in.scored ? (in.right * 200 + in.scored) / (2 * in.scored) : 0;
    out << QStringLiteral("Ergebnis: %1 von %2 Fragen richtig (%3 %)").arg(in.right).arg(in.scored).arg(percent);
    int n = 0;
    for (const QJsonValue &v : in.questions) {
        const QJsonObject q = v.toObject();
        out << QString();
        QString question = plainText(q.value(QStringLiteral("text")).toString());
        question.replace(QLatin1Char('\n'), QLatin1String("\n   "));
        out << QStringLiteral("%1. %2").arg(++n).arg(question);
        QStringList answers;
        for (const QJsonValue &a : q.value(QStringLiteral("answers")).toArray())
            answers << a.toString();
        out << QStringLiteral("   Antwort: %1").arg(answers.isEmpty() ? QStringLiteral("(keine)") : answers.join(QLatin1String(" | ")));
        out << QStringLiteral("   Bewertung: %1").arg(mark(q.value(QStringLiteral("right"))));
    }
    QStringList address;
    for (const auto &[field, label] : addressLabels()) {
        if (in.address.contains(field))
            address << QStringLiteral("%1: %2").arg(label, MailMessage::singleLine(in.address.value(field).toString()));
    }
    if (!address.isEmpty()) {
        out << QString() << QStringLiteral("Adresse:");
        out << address;
    }
    return out.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

MailMessage message(const Input &in, const QString &fromName, const QString &fromAddress, const QStringList &to)
{
    MailMessage m;
    m.fromName = fromName;
    m.fromAddress = fromAddress;
    m.to = to;
    m.subject = in.subject.trimmed().isEmpty() ? QStringLiteral("Quiz-Ergebnis, Formular %1").arg(in.formId) : in.subject;
    const QString email = in.address.value(QStringLiteral("LEMAIL")).toString().trimmed();
    if (MailMessage::isAddress(email)) {
        m.replyToAddress = email;
        m.replyToName = (in.address.value(QStringLiteral("LVorname")).toString() + QLatin1Char(' ')
                         + in.address.value(QStringLiteral("LName")).toString())
                            .trimmed();
    }
    m.body = text(in);
    return m;
}

} // namespace MailReport
