#include "pagegenerator.h"

#include "handoff.h"

#include "linebreaks.h"
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
    // Every line, the last one included, is followed by CR LF.
    QString out = LineBreaks::toCrLf(TextCodec::fromCodePage(data));
    if (!out.isEmpty() && !out.endsWith(CRLF))
        out += CRLF;
    *text = out;
    return true;
}

bool PageGenerator::generate(QString *result, QString *error)
{
    QString page;
    if (!loadTemplate(&page, error))
        return false;
    const Quiz &q = m_quiz;
    auto t = [&q](SettingKey key) { return q.text(key); };
    auto f = [&q](SettingKey key) { return q.flag(key); };

    fill(page, "CSS", styleSheet());
    fill(page, "JSCRIPT", formScript());
    fill(page, "SETTINGS", scrambledFlag(f(SettingKey::chkShowAuswertung)));
    fill(page, "TITLE", htmlAttribute(t(SettingKey::edtFormTitel)));
    fill(page, "ENCODING", t(SettingKey::encoding));
    fill(page, "FORMMAIL", htmlAttribute(t(SettingKey::cboFormMailer)));
    fill(page, "ERRORPAGES", errorPageFields());
    fill(page, "TEXTAUSWERTHEAD", htmlAttribute(t(SettingKey::edtAuswertungHeader)));
    fill(page, "TEXTAUSWERT", base64(encodeText(QString(t(SettingKey::memoAuswertung)).replace(CRLF, lineBreakMarker()))));
    fill(page, "BGCOLOR", t(SettingKey::edtHGColor));
    fill(page, "TABLECOLOR", t(SettingKey::edtTabColor));
    fill(page, "TEXTCOLOR", t(SettingKey::edtTextColor));
    fill(page, "HEADINGCOLOR", t(SettingKey::edtHeaderColor));
    fill(page, "HEADINGFONT", t(SettingKey::cboFontHeader));
    fill(page, "HEADINGFONTSIZE", t(SettingKey::edtSizeHeader));
    fill(page, "NORMALFONT", t(SettingKey::cboFontForm));
    fill(page, "NORMALFONTSIZE", t(SettingKey::edtSizeForm));
    fill(page, "TABLEWIDTH", htmlAttribute(t(SettingKey::edtTabWidth)));
    fill(page, "TITLETAG", htmlText(t(SettingKey::edtFormTitel)));
    fill(page, "QUESTIONCOUNT", QString::number(q.questions().count()));
    fill(page, "QUESTIONTYP", questionTypeFields());
    fill(page, "QUESTIONANSWERCOUNT", answerCountFields());
    fill(page, "QUESTIONS", questionTextFields());
    fill(page, "ANSWERS", rightAnswerFields());
    fill(page, "ALLANSWERS", allAnswerFields());
    fill(page, "SHOWUSERANSWERS", boolText(f(SettingKey::chkShowUserAnswers)));
    fill(page, "CHKSHOWUSERCORRECTANSWERS", boolText(f(SettingKey::chkShowUserCorrectAnswers)));
    fill(page, "SHOWPICDIAGRAMM", boolText(f(SettingKey::chkShowPicDiagramm)));
    fill(page, "SUBJECT", htmlAttribute(t(SettingKey::edtBetreff)));
    fill(page, "ADMIN", scrambledBase64(encodeText(t(SettingKey::edtEMail))));
    fill(page, "FORMID", newFormId());
    fill(page, "SETTINGSC", scrambledBase64(boolText(f(SettingKey::chkCaptcha))));
    if (f(SettingKey::chkCaptcha))
        fill(page, "CAPTCHA", captchaBlock());
    fill(page, "BEITE", htmlAttribute(t(SettingKey::edtTabWidth)));
    fill(page, "FORMTITLE", htmlText(t(SettingKey::edtFormTitel)));
    fill(page, "EINLEITUNGTEXT", htmlMarkup(t(SettingKey::memoEinleitung)));
    fill(page, "FIELDS", questionRows());
    if (f(SettingKey::chkShowAdress) && f(SettingKey::rdBegin))
        fill(page, "INPUTF", addressBlock());
    if (f(SettingKey::chkShowAdress) && f(SettingKey::rdEnd))
        fill(page, "INPUTD", addressBlock());
    fill(page, "TEXTENDE", htmlMarkup(t(SettingKey::memoTextEnde)));
    fill(page, "SENDBUTTON", htmlAttribute(t(SettingKey::edtSendenButton)));
    fill(page, "RESETBUTTON", htmlAttribute(t(SettingKey::edtCancelButton)));
    if (f(SettingKey::chkPrintButton))
        fill(page, "PRINTBUTTON",
             QStringLiteral("<input type=\"button\" name=\"print\" value=\"") + htmlAttribute(t(SettingKey::edtPrint)) +
                 QStringLiteral("\" onClick=\"javascript:window.print()\" class=\"button\">") + CRLF);
    fill(page, "CLASS", f(SettingKey::cboStandardButton) ? QString() : QStringLiteral("class=\"button\""));
    *result = page;
    return true;
}

QString PageGenerator::styleSheet() const
{
    const Quiz &q = m_quiz;
    auto t = [&q](SettingKey key) { return q.text(key); };
    RgbToHtml conv;
    auto colour = [&](const char *button) {
        conv.setColor(q.color(QLatin1String(button)));
        return conv.text();
    };
    const QString bodyFont = widenedBodyFont(t(SettingKey::cboFontForm));
    const QString bodySize = QString::number(numberOf(t(SettingKey::edtSizeForm)));

    QString s;
    s += QStringLiteral("<style>") + CRLF;
    s += QStringLiteral("<!--") + CRLF;
    s += QStringLiteral("body { background-color:#") + colour("cboBGColor") + QStringLiteral("; ");
    if (!t(SettingKey::edtBGPicture).isEmpty())
        s += QStringLiteral("background-image:url(") + cssUrl(t(SettingKey::edtBGPicture)) + QStringLiteral("); }");
    else
        s += QStringLiteral(" }");
    s += CRLF;
    s += QStringLiteral("h1 { color:#") + colour("cboHeadingColor") + QStringLiteral("; font-family:") + t(SettingKey::cboFontHeader) +
         QStringLiteral("; font-size:") + QString::number(numberOf(t(SettingKey::edtSizeHeader))) + QStringLiteral("pt; }") + CRLF;
    const QString textColour = colour("cboTextColor");
    s += QStringLiteral("p,li { color:#") + textColour + QStringLiteral("; font-family:") + bodyFont + QStringLiteral("; font-size:") +
         bodySize + QStringLiteral("pt; }") + CRLF;
    s += QStringLiteral("TD   { color:#") + textColour + QStringLiteral("; font-family:") + bodyFont + QStringLiteral("; font-size:") +
         bodySize + QStringLiteral("pt; }") + CRLF;
    s += QStringLiteral(".tableback { background-color:#") + colour("cboTabColor") + QStringLiteral("}") + CRLF;
    if (!q.flag(SettingKey::cboStandardButton)) {
        s += QStringLiteral("input.button {background-color: #") + t(SettingKey::edtHintergrundButton) + QStringLiteral(";color: #") +
             t(SettingKey::edtFarbeButton) + QStringLiteral(";border-style:") + t(SettingKey::cboRahmenButton) + QStringLiteral(";border-width:") +
             t(SettingKey::edtStaerkeButton) + t(SettingKey::cboStaerkeRahmen) + QStringLiteral(";}") + CRLF;
    }
    if (!q.flag(SettingKey::cboStandardFeld)) {
        s += QStringLiteral(".field {background-color: #") + t(SettingKey::edtHGFormField) + QStringLiteral(";color: #") + t(SettingKey::edtColorFormField) +
             QStringLiteral(";border-style:") + t(SettingKey::edtRahmenFormField) + QStringLiteral(";border-width:") + t(SettingKey::edtStaerkeFormField) +
             t(SettingKey::cboRahmenFormField) + QStringLiteral(";Font-Family:") + t(SettingKey::cboFontFormField) + QStringLiteral(";Font-Size:") +
             t(SettingKey::edtSizeFormField) + t(SettingKey::cboSchriftFormEinheit) + QStringLiteral(";}") + CRLF;
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
    const bool css = !m_quiz.flag(SettingKey::cboStandardFeld);
    QString s;
    int n = 0;
    for (const auto &question : m_quiz.questions())
        s += question->markup(css, ++n) + CRLF;
    return s;
}

QString PageGenerator::addressBlock() const
{
    const Quiz &q = m_quiz;
    const QString c = q.flag(SettingKey::cboStandardFeld) ? QString() : QStringLiteral(" class=\"field\" ");
    QString s;
    s += QStringLiteral("<td>") + CRLF;
    s += QStringLiteral("<b>") + htmlText(q.text(SettingKey::edtHeader)) + QStringLiteral("</b>") + CRLF;
    s += QStringLiteral("<table width=\"100%\"  border=\"0\" cellspacing=\"1\" cellpadding=\"0\">") + CRLF;
    for (const AddressField &field : Settings::addressFields()) {
        if (!q.flag(field.shown))
            continue;
        s += QStringLiteral("  <tr>") + CRLF;
        // The caption is the field's label.
        const QLatin1String input(field.input);
        s += QStringLiteral("    <td align=\"right\"><label for=\"") + input + QStringLiteral("\">") +
             htmlText(q.text(field.label)) + QStringLiteral("</label></td>") + CRLF;
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
    if (!m_quiz.flag(SettingKey::chkShowAdress) || !(m_quiz.flag(SettingKey::rdBegin) || m_quiz.flag(SettingKey::rdEnd)))
        return s;
    for (const AddressField &field : Settings::addressFields()) {
        if (!m_quiz.flag(field.shown) || !m_quiz.flag(field.required))
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
    const QString page = m_quiz.text(SettingKey::CaptchaErrorPage);
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
    const QString c = q.flag(SettingKey::cboStandardFeld) ? QString() : QStringLiteral(" class=\"field\"");
    const QString image = htmlAttribute(
        QString(q.text(SettingKey::cboFormMailer)).replace(QStringLiteral("quiz.php"), QStringLiteral("captcha_img.php")) +
        QStringLiteral("?id=") + QString::number(m_formId));
    QString s;
    s += QStringLiteral("<tr>") + CRLF;
    s += QStringLiteral("<td colspan=\"2\">") + CRLF;
    s += QStringLiteral("<table>") + CRLF;
    // The caption is the label of the code field.
    s += QStringLiteral("  <td class=\"my\" align=\"right\" valign=\"middle\"><p class=\"my\"><label for=\"captcha_input\">") +
         htmlText(q.text(SettingKey::edtCaptchaText1)) + QStringLiteral("</label></p></td>") + CRLF;
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
