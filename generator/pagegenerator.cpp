#include "pagegenerator.h"

#include "handoff.h"

#include "pagetext.h"
#include "paths.h"
#include "freetextquestion.h"
#include "multiplechoicequestion.h"
#include "questionlist.h"
#include "singlechoicequestion.h"
#include "quiz.h"
#include "rgbtohtml.h"
#include "settings.h"
#include "textcodec.h"

#include <QFile>
#include <QRandomGenerator>

namespace {

const QString CRLF = QStringLiteral("\r\n");

QString boolText(bool on)
{
    return on ? QStringLiteral("true") : QStringLiteral("false");
}

// The integer value of a number setting; a text that is no integer counts 0.
int numberOf(const QString &text)
{
    bool ok = false;
    const int n = text.toInt(&ok);
    return ok ? n : 0;
}

// The body font is widened for the style block only.
QString widenedBodyFont(const QString &font)
{
    static const struct {
        const char *name;
        const char *family;
    } kWidened[] = {
        {"Arial", "Arial,Helvetica,sans-serif"},           {"Verdana", "Verdana,Arial,Geneva"},
        {"Comic Sans MS", "Comic Sans MS,sans-serif"},     {"Times New Roman", "Times New Roman,serif"},
        {"Trebuchet MS", "Trebuchet MS,Arial, Helvetica"},
    };
    for (const auto &w : kWidened)
        if (font == QLatin1String(w.name))
            return QString::fromLatin1(w.family);
    return font;
}

// An address for an unquoted CSS url(): the characters that would end it or
// the style element are written as CSS escapes.
QString cssUrl(const QString &address)
{
    QString out;
    for (const QChar c : address) {
        if (c == QLatin1Char('(') || c == QLatin1Char(')') || c == QLatin1Char('"') || c == QLatin1Char('\'') ||
            c == QLatin1Char('\\') || c == QLatin1Char('<') || c.unicode() <= 0x20)
            out += QLatin1Char('\\') + QString::number(c.unicode(), 16) + QLatin1Char(' ');
        else
            out += c;
    }
    return out;
}

// Replaces every occurrence of a placeholder "<!-- NAME -->".
void fill(QString &page, const char *name, const QString &value)
{
    page.replace(QStringLiteral("<!-- ") + QLatin1String(name) + QStringLiteral(" -->"), value);
}

} // namespace


using namespace Handoff;
using PageText::htmlAttribute;
using PageText::htmlMarkup;
using PageText::htmlText;

PageGenerator::PageGenerator(const Quiz &quiz)
    : m_quiz(quiz)
    , m_templatePath(Paths::programFile(QStringLiteral("template.htm")))
{
}

bool PageGenerator::loadTemplate(QString *text, QString *error) const
{
    QFile f(m_templatePath);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(m_templatePath, f.errorString());
        return false;
    }
    const QByteArray data = f.readAll();
    if (f.error() != QFileDevice::NoError) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(m_templatePath, f.errorString());
        return false;
    }
    const QString content = TextCodec::fromCodePage(data);
    // Line by line: a line ends at CR LF, at LF or at a lone CR, and every
    // line, the last one included, is followed by CR LF.
    QString out;
    out.reserve(content.size() + content.size() / 16);
    int start = 0;
    const int n = content.size();
    for (int i = 0; i < n; ++i) {
        const QChar c = content[i];
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            out += QStringView(content).mid(start, i - start);
            out += CRLF;
            if (c == QLatin1Char('\r') && i + 1 < n && content[i + 1] == QLatin1Char('\n'))
                ++i;
            start = i + 1;
        }
    }
    if (start < n) {
        out += QStringView(content).mid(start);
        out += CRLF;
    }
    *text = out;
    return true;
}

QString PageGenerator::normaliseLineBreaks(const QString &page)
{
    // Copies whole stretches of text; only a lone CR or a lone LF changes.
    const QChar *p = page.constData();
    const int n = page.size();
    QString out;
    int start = 0;
    for (int i = 0; i < n; ++i) {
        if (p[i] == QLatin1Char('\r')) {
            if (i + 1 < n && p[i + 1] == QLatin1Char('\n')) {
                ++i;
                continue;
            }
        } else if (p[i] != QLatin1Char('\n')) {
            continue;
        }
        // A lone CR at i, or an LF at i that follows no CR.
        if (out.isNull())
            out.reserve(n + n / 32);
        out.append(p + start, i - start);
        out += CRLF;
        start = i + 1;
    }
    if (out.isNull())
        return page;
    out.append(p + start, n - start);
    return out;
}

bool PageGenerator::generate(QString *result, QString *error)
{
    QString page;
    if (!loadTemplate(&page, error))
        return false;
    const Quiz &q = m_quiz;
    auto t = [&q](const char *key) { return q.text(QLatin1String(key)); };
    auto f = [&q](const char *key) { return q.flag(QLatin1String(key)); };

    fill(page, "CSS", styleSheet());
    fill(page, "JSCRIPT", formScript());
    fill(page, "SETTINGS", scrambledFlag(f("chkShowAuswertung")));
    fill(page, "TITLE", htmlAttribute(t("edtFormTitel")));
    fill(page, "ENCODING", t("encoding"));
    fill(page, "FORMMAIL", htmlAttribute(t("cboFormMailer")));
    fill(page, "ERRORPAGES", errorPageFields());
    fill(page, "TEXTAUSWERTHEAD", htmlAttribute(t("edtAuswertungHeader")));
    fill(page, "TEXTAUSWERT", base64(encodeText(QString(t("memoAuswertung")).replace(CRLF, lineBreakMarker()))));
    fill(page, "BGCOLOR", t("edtHGColor"));
    fill(page, "TABLECOLOR", t("edtTabColor"));
    fill(page, "TEXTCOLOR", t("edtTextColor"));
    fill(page, "HEADINGCOLOR", t("edtHeaderColor"));
    fill(page, "HEADINGFONT", t("cboFontHeader"));
    fill(page, "HEADINGFONTSIZE", t("edtSizeHeader"));
    fill(page, "NORMALFONT", t("cboFontForm"));
    fill(page, "NORMALFONTSIZE", t("edtSizeForm"));
    fill(page, "TABLEWIDTH", htmlAttribute(t("edtTabWidth")));
    fill(page, "TITLETAG", htmlText(t("edtFormTitel")));
    fill(page, "QUESTIONCOUNT", QString::number(q.questions().count()));
    fill(page, "QUESTIONTYP", questionTypeFields());
    fill(page, "QUESTIONANSWERCOUNT", answerCountFields());
    fill(page, "QUESTIONS", questionTextFields());
    fill(page, "ANSWERS", rightAnswerFields());
    fill(page, "ALLANSWERS", allAnswerFields());
    fill(page, "SHOWUSERANSWERS", boolText(f("chkShowUserAnswers")));
    fill(page, "CHKSHOWUSERCORRECTANSWERS", boolText(f("chkShowUserCorrectAnswers")));
    fill(page, "SHOWPICDIAGRAMM", boolText(f("chkShowPicDiagramm")));
    fill(page, "SUBJECT", htmlAttribute(t("edtBetreff")));
    fill(page, "ADMIN", scrambledBase64(encodeText(t("edtEMail"))));
    fill(page, "FORMID", newFormId());
    fill(page, "SETTINGSC", scrambledBase64(boolText(f("chkCaptcha"))));
    if (f("chkCaptcha"))
        fill(page, "CAPTCHA", captchaBlock());
    fill(page, "BEITE", htmlAttribute(t("edtTabWidth")));
    fill(page, "FORMTITLE", htmlText(t("edtFormTitel")));
    fill(page, "EINLEITUNGTEXT", htmlMarkup(t("memoEinleitung")));
    fill(page, "FIELDS", questionRows());
    if (f("chkShowAdress") && f("rdBegin"))
        fill(page, "INPUTF", addressBlock());
    if (f("chkShowAdress") && f("rdEnd"))
        fill(page, "INPUTD", addressBlock());
    fill(page, "TEXTENDE", htmlMarkup(t("memoTextEnde")));
    fill(page, "SENDBUTTON", htmlAttribute(t("edtSendenButton")));
    fill(page, "RESETBUTTON", htmlAttribute(t("edtCancelButton")));
    if (f("chkPrintButton"))
        fill(page, "PRINTBUTTON",
             QStringLiteral("<input type=\"button\" name=\"print\" value=\"") + htmlAttribute(t("edtPrint")) +
                 QStringLiteral("\" onClick=\"javascript:window.print()\" class=\"button\">") + CRLF);
    fill(page, "CLASS", f("cboStandardButton") ? QString() : QStringLiteral("class=\"button\""));
    *result = page;
    return true;
}

QString PageGenerator::styleSheet() const
{
    const Quiz &q = m_quiz;
    auto t = [&q](const char *key) { return q.text(QLatin1String(key)); };
    RgbToHtml conv;
    auto colour = [&](const char *button) {
        conv.setColor(q.color(QLatin1String(button)));
        return conv.text();
    };
    const QString bodyFont = widenedBodyFont(t("cboFontForm"));
    const QString bodySize = QString::number(numberOf(t("edtSizeForm")));

    QString s;
    s += QStringLiteral("<style>") + CRLF;
    s += QStringLiteral("<!--") + CRLF;
    s += QStringLiteral("body { background-color:#") + colour("cboBGColor") + QStringLiteral("; ");
    if (!t("edtBGPicture").isEmpty())
        s += QStringLiteral("background-image:url(") + cssUrl(t("edtBGPicture")) + QStringLiteral("); }");
    else
        s += QStringLiteral(" }");
    s += CRLF;
    s += QStringLiteral("h1 { color:#") + colour("cboHeadingColor") + QStringLiteral("; font-family:") + t("cboFontHeader") +
         QStringLiteral("; font-size:") + QString::number(numberOf(t("edtSizeHeader"))) + QStringLiteral("pt; }") + CRLF;
    const QString textColour = colour("cboTextColor");
    s += QStringLiteral("p,li { color:#") + textColour + QStringLiteral("; font-family:") + bodyFont + QStringLiteral("; font-size:") +
         bodySize + QStringLiteral("pt; }") + CRLF;
    s += QStringLiteral("TD   { color:#") + textColour + QStringLiteral("; font-family:") + bodyFont + QStringLiteral("; font-size:") +
         bodySize + QStringLiteral("pt; }") + CRLF;
    s += QStringLiteral(".tableback { background-color:#") + colour("cboTabColor") + QStringLiteral("}") + CRLF;
    if (!q.flag(QStringLiteral("cboStandardButton"))) {
        s += QStringLiteral("input.button {background-color: #") + t("edtHintergrundButton") + QStringLiteral(";color: #") +
             t("edtFarbeButton") + QStringLiteral(";border-style:") + t("cboRahmenButton") + QStringLiteral(";border-width:") +
             t("edtStaerkeButton") + t("cboStaerkeRahmen") + QStringLiteral(";}") + CRLF;
    }
    if (!q.flag(QStringLiteral("cboStandardFeld"))) {
        s += QStringLiteral(".field {background-color: #") + t("edtHGFormField") + QStringLiteral(";color: #") + t("edtColorFormField") +
             QStringLiteral(";border-style:") + t("edtRahmenFormField") + QStringLiteral(";border-width:") + t("edtStaerkeFormField") +
             t("cboRahmenFormField") + QStringLiteral(";Font-Family:") + t("cboFontFormField") + QStringLiteral(";Font-Size:") +
             t("edtSizeFormField") + t("cboSchriftFormEinheit") + QStringLiteral(";}") + CRLF;
    }
    s += QStringLiteral("-->") + CRLF;
    s += QStringLiteral("</style>") + CRLF;
    return s;
}

QString PageGenerator::formScript() const
{
    QString s;
    s += QStringLiteral("<script type=\"text/javascript\">") + CRLF;
    s += QStringLiteral("<!--") + CRLF;
    s += QStringLiteral("function chkFormular()") + CRLF;
    s += QStringLiteral("{") + CRLF;
    int n = 0;
    for (const auto &question : m_quiz.questions()) {
        ++n;
        if (question->required)
            s += question->checkScript(n);
    }
    s += addressScript() + CRLF;
    s += QStringLiteral(" return(true); }//--></script>") + CRLF;
    return s;
}

QString PageGenerator::questionRows() const
{
    const bool css = !m_quiz.flag(QStringLiteral("cboStandardFeld"));
    QString s;
    int n = 0;
    for (const auto &question : m_quiz.questions())
        s += question->markup(css, ++n) + CRLF;
    return s;
}

QString PageGenerator::addressBlock() const
{
    const Quiz &q = m_quiz;
    const QString c = q.flag(QStringLiteral("cboStandardFeld")) ? QString() : QStringLiteral(" class=\"field\" ");
    QString s;
    s += QStringLiteral("<td>") + CRLF;
    s += QStringLiteral("<b>") + htmlText(q.text(QStringLiteral("edtHeader"))) + QStringLiteral("</b>") + CRLF;
    s += QStringLiteral("<table width=\"100%\"  border=\"0\" cellspacing=\"1\" cellpadding=\"0\">") + CRLF;
    for (const AddressField &field : Settings::addressFields()) {
        if (!q.flag(QLatin1String(field.shown)))
            continue;
        s += QStringLiteral("  <tr>") + CRLF;
        // The caption is the field's label.
        const QLatin1String input(field.input);
        s += QStringLiteral("    <td align=\"right\"><label for=\"") + input + QStringLiteral("\">") +
             htmlText(q.text(QLatin1String(field.label))) + QStringLiteral("</label></td>") + CRLF;
        s += QStringLiteral("    <td>&nbsp;<input") + c + QStringLiteral(" name=\"") + input + QStringLiteral("\" id=\"") + input +
             QStringLiteral("\" type=\"text\" size=\"25\"></td>") + CRLF;
        s += QStringLiteral("  </tr>") + CRLF;
    }
    s += QStringLiteral("</table>") + CRLF;
    s += QStringLiteral("<hr height=\"1\" width=\"100%\"></td>") + CRLF;
    return s;
}

QString PageGenerator::addressScript() const
{
    QString s;
    // A check of a field that is not on the page would fail on every send.
    if (!m_quiz.flag(QStringLiteral("chkShowAdress")) || !(m_quiz.flag(QStringLiteral("rdBegin")) || m_quiz.flag(QStringLiteral("rdEnd"))))
        return s;
    for (const AddressField &field : Settings::addressFields()) {
        if (!m_quiz.flag(QLatin1String(field.shown)) || !m_quiz.flag(QLatin1String(field.required)))
            continue;
        const QString input = QStringLiteral("document.PRUVEX.") + QLatin1String(field.input);
        s += QStringLiteral("if(") + input + QStringLiteral(".value == \"\")  {") + CRLF;
        s += QStringLiteral("      alert(\"Bitte das Feld ") + QString::fromUtf8(field.alertName) + QStringLiteral(" ausfüllen.\")") + CRLF;
        s += QStringLiteral("      ") + input + QStringLiteral(".focus()") + CRLF;
        s += QStringLiteral("      return false; }") + CRLF;
    }
    return s;
}

QString PageGenerator::errorPageFields() const
{
    const QString page = m_quiz.text(QStringLiteral("CaptchaErrorPage"));
    if (page.isEmpty())
        return {};
    return hiddenField(QStringLiteral("settings_error_captcha"), base64(encodeText(page)));
}

QString PageGenerator::questionTypeFields() const
{
    QString s;
    int k = 0;
    for (const auto &q : m_quiz.questions())
        s += hiddenField(QStringLiteral("typeFrage") + QString::number(k++), q->typeName());
    return s;
}

QString PageGenerator::answerCountFields() const
{
    QString s;
    int k = 0;
    for (const auto &q : m_quiz.questions())
        s += hiddenField(QStringLiteral("countFrage") + QString::number(k++), QString::number(q->answerCount()));
    return s;
}

QString PageGenerator::questionTextFields() const
{
    QString s;
    int k = 0;
    for (const auto &q : m_quiz.questions()) {
        // Escaped for the attribute, so that the browser sends the text as typed.
        s += hiddenField(QStringLiteral("beschrFrage") + QString::number(k++), q->caption.toHtmlEscaped());
    }
    return s;
}

QString PageGenerator::rightAnswerFields() const
{
    QString s;
    int k = 0;
    for (const auto &q : m_quiz.questions()) {
        const QString name = QStringLiteral("FA") + QString::number(k);
        switch (q->kind()) {
        case QuestionKind::FreeText:
            s += hiddenField(name, scrambledBase64(joinItems(static_cast<const FreeTextQuestion &>(*q).answers)));
            break;
        case QuestionKind::MultipleChoice: {
            QStringList parts;
            const auto &options = static_cast<const MultipleChoiceQuestion &>(*q).options;
            for (size_t j = 0; j < options.size(); ++j)
                if (options[j].right)
                    parts << QStringLiteral("Frage%1_%2").arg(k + 1).arg(j) + QChar(itemSeparator) + encodeItem(options[j].text);
            s += hiddenField(name, scrambledBase64(parts.join(QChar(listSeparator))));
            break;
        }
        case QuestionKind::SingleChoice: {
            const auto &options = static_cast<const SingleChoiceQuestion &>(*q).options;
            for (size_t j = 0; j < options.size(); ++j)
                if (options[j].right)
                    s += hiddenField(name, scrambledBase64(QString::number(j) + QChar(itemSeparator) + encodeItem(options[j].text)));
            break;
        }
        }
        ++k;
    }
    return s;
}

QString PageGenerator::allAnswerFields() const
{
    QString s;
    int k = 0;
    for (const auto &q : m_quiz.questions()) {
        if (q->kind() != QuestionKind::FreeText) {
            const auto &options = static_cast<const ChoiceQuestion &>(*q).options;
            for (size_t j = 0; j < options.size(); ++j)
                s += hiddenField(QStringLiteral("FA_USER_%1_%2").arg(k).arg(j), base64(encodeText(options[j].text)));
        }
        ++k;
    }
    return s;
}

QString PageGenerator::newFormId()
{
    m_formId = m_formIdSource ? m_formIdSource() : int(QRandomGenerator::global()->bounded(10000000));
    return QString::number(m_formId);
}

QString PageGenerator::captchaBlock() const
{
    const Quiz &q = m_quiz;
    const QString c = q.flag(QStringLiteral("cboStandardFeld")) ? QString() : QStringLiteral(" class=\"field\"");
    const QString image = htmlAttribute(
        QString(q.text(QStringLiteral("cboFormMailer"))).replace(QStringLiteral("quiz.php"), QStringLiteral("captcha_img.php")) +
        QStringLiteral("?id=") + QString::number(m_formId));
    QString s;
    s += QStringLiteral("<tr>") + CRLF;
    s += QStringLiteral("<td colspan=\"2\">") + CRLF;
    s += QStringLiteral("<table>") + CRLF;
    // The caption is the label of the code field.
    s += QStringLiteral("  <td class=\"my\" align=\"right\" valign=\"middle\"><p class=\"my\"><label for=\"captcha_input\">") +
         htmlText(q.text(QStringLiteral("edtCaptchaText1"))) + QStringLiteral("</label></p></td>") + CRLF;
    s += QStringLiteral("  <td class=\"my\" valign=\"middle\">") + CRLF;
    s += QStringLiteral(" <table width=\"100%\"  border=\"0\" cellspacing=\"0\" cellpadding=\"00\">") + CRLF;
    s += QStringLiteral("<tr valign=\"middle\">") + CRLF;
    s += QStringLiteral(" <td width=\"20%\"><input type=\"text\" name=\"captcha_input\" id=\"captcha_input\" size=\"10\" maxlength=\"5\"") + c +
         QStringLiteral("></td>") + CRLF;
    s += QStringLiteral(" <td width=\"80%\">&nbsp;<img src=\"") + image +
         QStringLiteral("\" border=\"1\" alt=\"Sicherheitscode\" class=\"captcha\"></td></td>") + CRLF;
    s += QStringLiteral("</tr>") + CRLF;
    s += QStringLiteral("</table>") + CRLF;
    s += QStringLiteral("</table>") + CRLF;
    s += QStringLiteral("</td>") + CRLF;
    s += QStringLiteral("</tr>") + CRLF;
    return s;
}
