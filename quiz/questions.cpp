#include "questions.h"

namespace {
const QString CRLF = QStringLiteral("\r\n");
const QString FieldClass = QStringLiteral(" class=\"field\" ");

QString num(int n)
{
    return QString::number(n);
}
} // namespace

QString TQuestion::className() const
{
    switch (kind()) {
    case QuestionKind::Simple:
        return QStringLiteral("TSimpleQuestion");
    case QuestionKind::Multi:
        return QStringLiteral("TMultiQuestion");
    case QuestionKind::Single:
        return QStringLiteral("TSingleQuestion");
    }
    return {};
}

QString TQuestion::genFrame(const QString &answerLines) const
{
    QString s;
    if (!strBild.isEmpty())
        s += QStringLiteral("<tr><td><img src=\"") + strBild + QStringLiteral("\" border=\"0\"></td></tr>") + CRLF;
    s += QStringLiteral("<tr>") + CRLF;
    s += QStringLiteral("<td class=\"link\"><b>") + strBeschriftung + QStringLiteral("</b><br>") + CRLF;
    s += answerLines;
    if (!strLinkTipp.isEmpty())
        s += QStringLiteral("<a href=\"") + strLinkTipp + QStringLiteral("\" class=\"tip\" target=\"_blank\">Tipp</a><br>") + CRLF;
    s += QStringLiteral("<hr height=\"1\" width=\"100%\">") + CRLF;
    s += QStringLiteral("\t</td>") + CRLF;
    s += QStringLiteral("</tr>") + CRLF;
    return s;
}

QString TQuestion::alertLine(const QString &standardText) const
{
    if (!strMeldung.isEmpty())
        return QStringLiteral("alert(\"") + strMeldung + QStringLiteral("\");") + CRLF;
    return standardText + CRLF;
}

QString TSimpleQuestion::GenCode(bool bCSS, int iCount) const
{
    const QString c = bCSS ? FieldClass : QString();
    QString lines;
    for (int j = 0; j < arAnswers.size(); ++j) {
        lines += QStringLiteral("<input") + c + QStringLiteral(" name=\"Frage") + num(iCount) + QLatin1Char('_') + num(j) +
                 QStringLiteral("\" size=\"") + strGroesse + QStringLiteral("\" maxlength=\"") + strMaxLaenge +
                 QStringLiteral("\" type=\"text\"><br>") + CRLF;
    }
    return genFrame(lines);
}

QString TSimpleQuestion::GenScript(int i) const
{
    QString s;
    const QString standard = QStringLiteral("alert(\"Sie haben Frage ") + num(i) + QStringLiteral(" nicht vollständig ausgefüllt.\");");
    for (int j = 0; j < arAnswers.size(); ++j) {
        const QString field = QStringLiteral("document.PRUVEX.Frage") + num(i) + QLatin1Char('_') + num(j);
        s += QStringLiteral("if(") + field + QStringLiteral(".value == \"\")  {") + CRLF;
        s += alertLine(standard);
        s += field + QStringLiteral(".focus();") + CRLF;
        s += QStringLiteral("return false;") + CRLF;
        s += QStringLiteral("}") + CRLF + CRLF;
    }
    return s;
}

QString TMultiQuestion::GenCode(bool bCSS, int iCount) const
{
    const QString c = bCSS ? FieldClass : QString();
    QString lines;
    for (int j = 0; j < int(arQuestions.size()); ++j) {
        lines += QStringLiteral("<input") + c + QStringLiteral(" type=\"checkbox\" name=\"Frage") + num(iCount) + QLatin1Char('_') +
                 num(j) + QStringLiteral("\" value=\"set\"> ") + arQuestions[size_t(j)].strQuestion + QStringLiteral("<br>") + CRLF;
    }
    return genFrame(lines);
}

QString TMultiQuestion::GenScript(int i) const
{
    QStringList conditions;
    for (int j = 0; j < int(arQuestions.size()); ++j)
        conditions << QStringLiteral("document.PRUVEX.Frage") + num(i) + QLatin1Char('_') + num(j) + QStringLiteral(".checked == false");
    QString s;
    s += QStringLiteral("if (") + conditions.join(QStringLiteral(" && ")) + QStringLiteral(")") + CRLF;
    s += QStringLiteral("    {") + CRLF;
    s += alertLine(QStringLiteral("alert(\"Sie haben Frage ") + num(i) + QStringLiteral(" nicht ausgefüllt.\");"));
    s += QStringLiteral("     document.PRUVEX.Frage") + num(i) + QStringLiteral("_0.focus();") + CRLF;
    s += QStringLiteral("     return false;") + CRLF;
    s += QStringLiteral("    }") + CRLF + CRLF;
    return s;
}

QString TSingleQuestion::GenCode(bool bCSS, int iCount) const
{
    const QString c = bCSS ? FieldClass : QString();
    QString lines;
    for (int j = 0; j < int(arQuestions.size()); ++j) {
        lines += QStringLiteral("<input") + c + QStringLiteral(" type=\"radio\" name=\"Frage") + num(iCount) +
                 QStringLiteral("\" value=\"") + num(j) + QStringLiteral("\"> ") + arQuestions[size_t(j)].strQuestion +
                 QStringLiteral("<br>") + CRLF;
    }
    return genFrame(lines);
}

QString TSingleQuestion::GenScript(int i) const
{
    const QString field = QStringLiteral("document.PRUVEX.Frage") + num(i);
    QString s;
    s += QStringLiteral("var Option = false;") + CRLF;
    s += QStringLiteral("for (i = 0;  i < ") + field + QStringLiteral(".length;  i++)") + CRLF;
    s += QStringLiteral("  {") + CRLF;
    s += QStringLiteral("    if (") + field + QStringLiteral("[ i ].checked)") + CRLF;
    s += QStringLiteral("        Option = true;") + CRLF;
    s += QStringLiteral("  }") + CRLF;
    s += QStringLiteral("  if (!Option)") + CRLF;
    s += QStringLiteral("  {") + CRLF;
    s += alertLine(QStringLiteral("alert(\"Sie haben Frage ") + num(i) + QStringLiteral(" nicht ausgefüllt.\");"));
    s += QStringLiteral("    return (false);") + CRLF;
    s += QStringLiteral("  }") + CRLF + CRLF;
    return s;
}

std::unique_ptr<TQuestion> createQuestion(QuestionKind kind)
{
    switch (kind) {
    case QuestionKind::Simple:
        return std::make_unique<TSimpleQuestion>();
    case QuestionKind::Multi:
        return std::make_unique<TMultiQuestion>();
    case QuestionKind::Single:
        return std::make_unique<TSingleQuestion>();
    }
    return nullptr;
}

std::unique_ptr<TQuestion> createQuestion(const QString &className)
{
    if (className == QLatin1String("TSimpleQuestion"))
        return createQuestion(QuestionKind::Simple);
    if (className == QLatin1String("TMultiQuestion"))
        return createQuestion(QuestionKind::Multi);
    if (className == QLatin1String("TSingleQuestion"))
        return createQuestion(QuestionKind::Single);
    return nullptr;
}

QuestionList QuestionList::cloned() const
{
    QuestionList copy;
    for (const auto &q : m_items)
        copy.append(q->clone());
    return copy;
}
