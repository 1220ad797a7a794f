#include "resultsexport.h"

#include "settings.h"

#include <QHash>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QStringList>

namespace ResultsExport {

QByteArray json(const QList<Store::Row> &rows)
{
    QJsonArray out;
    for (const Store::Row &r : rows) {
        QJsonObject o;
        o.insert(QStringLiteral("form"), r.formId);
        o.insert(QStringLiteral("time"), r.time);
        o.insert(QStringLiteral("subject"), r.subject);
        o.insert(QStringLiteral("right"), r.right);
        o.insert(QStringLiteral("scored"), r.scored);
        o.insert(QStringLiteral("questions"), r.questions);
        o.insert(QStringLiteral("address"), r.address);
        o.insert(QStringLiteral("mail"), QJsonObject{{QStringLiteral("state"), r.mailState}, {QStringLiteral("detail"), r.mailDetail}});
        out.append(o);
    }
    return QJsonDocument(out).toJson(QJsonDocument::Indented);
}

namespace {

// A cell in double quotes; a text that a spreadsheet would take for a
// formula gets an apostrophe in front.
QString cell(const QString &text)
{
    QString t = text;
    if (!t.isEmpty() && QStringLiteral("=+-@\t\r").contains(t.front()))
        t.prepend(QLatin1Char('\''));
    t.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + t + QLatin1Char('"');
}

// A question text without its markup, for a column heading.
QString plain(const QString &html)
{
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    return QString(html).remove(tag).simplified();
}

// The mail state in German, with the server's answer.
QString mailText(const QString &state, const QString &detail)
{
    static const QHash<QString, QString> names = {
        {QStringLiteral("none"), QStringLiteral("keine")},          {QStringLiteral("refused"), QStringLiteral("Empfänger nicht erlaubt")},
        {QStringLiteral("queued"), QStringLiteral("wartet")},       {QStringLiteral("sending"), QStringLiteral("wird verschickt")},
        {QStringLiteral("sent"), QStringLiteral("verschickt")},     {QStringLiteral("failed"), QStringLiteral("fehlgeschlagen")},
    };
    const QString name = names.value(state, state);
    return detail.isEmpty() ? name : name + QStringLiteral(": ") + detail;
}

} // namespace

QByteArray csv(const QList<Store::Row> &rows)
{
    int questionColumns = 0;
    QStringList questionTexts;
    for (const Store::Row &r : rows)
        for (qsizetype i = questionTexts.size(); i < r.questions.size(); ++i)
            questionTexts << plain(r.questions.at(i).toObject().value(QStringLiteral("text")).toString());
    questionColumns = int(questionTexts.size());
    QStringList addressNames;
    for (const AddressField &f : Settings::addressFields()) {
        const QString name = QLatin1String(f.input);
        for (const Store::Row &r : rows)
            if (r.address.contains(name)) {
                addressNames << name;
                break;
            }
    }

    QStringList header = {QStringLiteral("Zeit (UTC)"), QStringLiteral("Formular"), QStringLiteral("Betreff"), QStringLiteral("Richtig"),
                          QStringLiteral("Bewertet"), QStringLiteral("Prozent")};
    header += addressNames;
    for (int i = 0; i < questionColumns; ++i)
        header << QStringLiteral("Frage %1: %2").arg(i + 1).arg(questionTexts[i]);
    header << QStringLiteral("Mail");
    QStringList lines;
    QStringList cells;
    for (const QString &h : header)
        cells << cell(h);
    lines << cells.join(QLatin1Char(';'));
    for (const Store::Row &r : rows) {
        cells.clear();
        cells << cell(r.time) << cell(r.formId) << cell(r.subject) << QString::number(r.right) << QString::number(r.scored)
              << (r.scored ? QString::number((r.right * 200 + r.scored) / (2 * r.scored)) : QString());
        for (const QString &name : addressNames)
            cells << cell(r.address.value(name).toString());
        for (int i = 0; i < questionColumns; ++i) {
            if (i >= r.questions.size()) {
                cells << QString();
                continue;
            }
            const QJsonObject q = r.questions.at(i).toObject();
            QStringList answers;
            for (const QJsonValue &a : q.value(QStringLiteral("answers")).toArray())
                answers << a.toString();
            const QJsonValue right = q.value(QStringLiteral("right"));
            const QString mark = right.isBool() ? (right.toBool() ? QStringLiteral("richtig: ") : QStringLiteral("falsch: ")) : QString();
            cells << cell(mark + answers.join(QLatin1String(", ")));
        }
        cells << cell(mailText(r.mailState, r.mailDetail));
        lines << cells.join(QLatin1Char(';'));
    }
    return QByteArray("\xEF\xBB\xBF") + lines.join(QLatin1String("\r\n")).toUtf8() + "\r\n";
}

} // namespace ResultsExport
