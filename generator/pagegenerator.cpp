#include "pagegenerator.h"
#include "outofmemory.h"

#include "handoff.h"

#include "charscan.h"
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
#include <QHash>
#include <QRandomGenerator>
#include <QStringEncoder>

#include <algorithm>
#include <new>
#include <vector>

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

// The page is filled step by step, each step replacing every occurrence of
// its placeholder "<!-- NAME -->" in the page as the earlier steps left it.
// Since the value of a step is fixed before the filling starts, and no two
// placeholders can overlap (a "<" stands only at their start), the page that
// results is the template in which each placeholder of a step is replaced by
// that step's value filled with the later steps only. So the page is written
// in one pass over the template: each placeholder is replaced by its step's
// value, in which the placeholders of later steps are replaced in turn.
// The question rows, the longest value, are not kept: they are made part by
// part where their placeholder stands. The checks and hidden fields are made
// beforehand in parts, in one pass over the questions.
struct Step {
    QString name;
    // A value of its own; its placeholders are found once.
    QString value;
    // Or a long value, made part by part each time it is written.
    void (PageGenerator::*fragment)(PageParts &) const = nullptr;
    bool active = false;
    // Or a long value made beforehand, in parts.
    std::vector<QString> parts = {};
};

struct Mark {
    qsizetype from; // where "<!-- " starts
    qsizetype to;   // just past " -->"
    int step;
};

class PageFiller
{
public:
    // room: a text whose memory the page may take over.
    PageFiller(const PageGenerator &generator, std::vector<Step> steps, QString room)
        : m_generator(generator)
        , m_steps(std::move(steps))
        , m_out(std::move(room))
        , m_marks(m_steps.size())
        , m_found(m_steps.size(), false)
    {
        for (size_t i = 0; i < m_steps.size(); ++i)
            if (m_steps[i].active)
                m_index.insert(QStringView(m_steps[i].name), int(i));
    }

    // The filled page; false when it would be longer than limit characters.
    // Every line break of the page is CR LF.
    //
    // With utf8, its UTF-8 bytes are written into utf8's memory as the page
    // grows, each piece while it is still at hand; utf8Done() tells whether
    // they are complete.
    bool fill(const QString &templ, qsizetype limit, QString *page, QByteArray *utf8 = nullptr)
    {
        m_limit = limit;
        m_out.truncate(0);
        m_utf8 = utf8;
        if (m_utf8)
            m_utf8->truncate(0);
        if (!write(templ, find(templ, 0)))
            return false;
        // A page of pieces that all have CR LF only has CR LF too: a
        // placeholder, which is cut out, starts with "<" and ends with ">".
        if (m_loneBreaks) {
            *page = LineBreaks::toCrLf(m_out);
            m_utf8Broken = true;
        } else {
            *page = std::move(m_out);
        }
        return true;
    }

    bool utf8Done() const { return m_utf8 && !m_utf8Broken; }

    // Moves the texts of the long values made beforehand into room, for the
    // next page.
    void giveBackParts(std::vector<QString> *room)
    {
        for (Step &step : m_steps)
            for (QString &part : step.parts)
                room->push_back(std::move(part));
    }

private:
    // The placeholders of steps first and later in text, left to right.
    std::vector<Mark> find(QStringView text, int first)
    {
        std::vector<Mark> marks;
        const qsizetype n = text.size();
        // Placeholders are found by their "!", which is rare in a page,
        // unlike the "<" of every tag. The same pass notes a line break
        // that is not CR LF.
        qsizetype bang = 0;
        while ((bang = indexOfCharOrLoneBreak(text, bang, u'!')) >= 0) {
            if (text[bang] != QLatin1Char('!')) {
                m_loneBreaks = true;
                ++bang;
                continue;
            }
            const qsizetype pos = bang - 1;
            if (pos < 0 || text[pos] != QLatin1Char('<') || !text.mid(pos).startsWith(u"<!-- ")) {
                ++bang;
                continue;
            }
            const qsizetype nameStart = pos + 5;
            qsizetype e = nameStart;
            while (e < n && text[e].unicode() >= 'A' && text[e].unicode() <= 'Z')
                ++e;
            if (e > nameStart && text.mid(e).startsWith(QLatin1String(" -->"))) {
                const auto it = m_index.constFind(text.mid(nameStart, e - nameStart));
                if (it != m_index.cend() && *it >= first)
                    marks.push_back({pos, e + 4, *it});
            }
            // No placeholder starts inside "<!-- " or a name.
            bang = e;
        }
        return marks;
    }

    // Appends text with its marks filled; false once the page would pass
    // the limit. The depth of the calls is bounded by the number of steps.
    bool write(QStringView text, const std::vector<Mark> &marks)
    {
        qsizetype at = 0;
        for (const Mark &m : marks) {
            if (!append(text.mid(at, m.from - at)) || !writeStep(size_t(m.step)))
                return false;
            at = m.to;
        }
        return append(text.mid(at));
    }

    bool writeStep(size_t i)
    {
        const Step &step = m_steps[i];
        const int later = int(i) + 1;
        if (step.fragment) {
            // Written straight into the page, part by part.
            bool ok = true;
            qsizetype partStart = m_out.size();
            auto check = [&] {
                ok = ok && m_out.size() <= m_limit && settle(partStart, later);
                // After a failure nothing more is kept.
                if (!ok)
                    m_out.truncate(partStart);
                partStart = m_out.size();
            };
            PageParts parts(&m_out, check);
            (m_generator.*step.fragment)(parts);
            parts.finish();
            return ok;
        }
        if (!step.parts.empty()) {
            // Each part is searched once it is in the page, while it is
            // still at hand, rather than read once more beforehand.
            for (const QString &part : step.parts) {
                const qsizetype at = m_out.size();
                if (part.size() > m_limit - at)
                    return false;
                m_out += part;
                if (!settle(at, later, &part))
                    return false;
            }
            return true;
        }
        if (!m_found[i]) {
            m_marks[i] = find(step.value, later);
            m_found[i] = true;
        }
        return write(step.value, m_marks[i]);
    }

    // Searches what was added to the page from at on for placeholders of
    // the steps from later on. Only a piece that holds one is taken out
    // again and written with them filled; source, when given, is that piece.
    bool settle(qsizetype at, int later, const QString *source = nullptr)
    {
        const std::vector<Mark> marks = find(QStringView(m_out).mid(at), later);
        if (marks.empty()) {
            encodeFrom(at);
            return true;
        }
        const QString piece = source ? *source : m_out.mid(at);
        m_out.truncate(at);
        return write(piece, marks);
    }

    bool append(QStringView piece)
    {
        if (piece.size() > m_limit - m_out.size())
            return false;
        m_out += piece;
        encodeFrom(m_out.size() - piece.size());
        return true;
    }

    // Adds the UTF-8 bytes of the page from index from on. Qt's encoder
    // writes U+FFFD for a lone surrogate, where QString::toUtf8() writes
    // "?": such a page gets its bytes afterwards, the usual way.
    void encodeFrom(qsizetype from)
    {
        if (!m_utf8 || m_utf8Broken)
            return;
        const QStringView piece = QStringView(m_out).mid(from);
        const qsizetype at = m_utf8->size();
        m_utf8->resize(at + 3 * piece.size());
        QStringEncoder encoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        const char *end = encoder.appendToBuffer(m_utf8->data() + at, piece);
        m_utf8->truncate(end - m_utf8->constData());
        if (encoder.hasError())
            m_utf8Broken = true;
    }

    const PageGenerator &m_generator;
    std::vector<Step> m_steps;
    QString m_out;
    std::vector<std::vector<Mark>> m_marks;
    std::vector<bool> m_found;
    QHash<QStringView, int> m_index;
    qsizetype m_limit = 0;
    bool m_loneBreaks = false;
    QByteArray *m_utf8 = nullptr;
    bool m_utf8Broken = false;
};

QString pageTooLargeText(qsizetype limit)
{
    return QStringLiteral("Die Seite würde länger als %1 Millionen Zeichen und wird nicht erzeugt. "
                          "Wahrscheinlich enthalten Texte des Quiz Platzhalter der Vorlage wie \"<!-- FIELDS -->\", "
                          "die sich gegenseitig vervielfachen.")
        .arg(limit / (1024 * 1024));
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
    // Bounded, so that a template that is no file (a device without end)
    // cannot exhaust the memory.
    const QByteArray data = f.read(kMaxPageChars + 1);
    if (data.size() > kMaxPageChars) {
        if (error)
            *error = QStringLiteral("%1: Die Vorlage ist länger als %2 Millionen Zeichen.").arg(m_templatePath).arg(kMaxPageChars / (1024 * 1024));
        return false;
    }
    if (f.error() != QFileDevice::NoError) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(m_templatePath, f.errorString());
        return false;
    }
    // Every line, the last one included, is followed by CR LF.
    QString out = LineBreaks::toCrLf(TextCodec::fromCodePage(data));
    if (!out.isEmpty() && !out.endsWith(CRLF))
        out += CRLF;
    *text = std::move(out);
    return true;
}

bool PageGenerator::generate(QString *result, QString *error, QByteArray *utf8)
{
    m_failure = Failure::None;
    try {
        QString templ, page;
        if (!loadTemplate(&templ, error)) {
            m_failure = Failure::Template;
            return false;
        }
        if (!fillTemplate(templ, &page, utf8)) {
            m_failure = Failure::TooLarge;
            if (error)
                *error = pageTooLargeText(m_maxPageChars);
            return false;
        }
        *result = std::move(page);
        return true;
    } catch (const std::bad_alloc &) {
        m_failure = Failure::OutOfMemory;
        if (error)
            *error = OutOfMemory::generating();
        return false;
    }
}

bool PageGenerator::fillTemplate(const QString &templ, QString *page, QByteArray *utf8)
{
    const Quiz &q = m_quiz;
    auto t = [&q](SettingKey key) { return q.text(key); };
    auto f = [&q](SettingKey key) { return q.flag(key); };

    // The steps in their order; each value is built at its step, so that the
    // form id is drawn before the captcha row that shows it. The fragments
    // of the questions depend on the questions alone.
    std::vector<Step> steps;
    steps.reserve(44);
    auto fill = [&steps](const char *name, const QString &value) { steps.push_back({QLatin1String(name), value, nullptr, true}); };
    auto fillWhileWritten = [&steps](const char *name, void (PageGenerator::*fragment)(PageParts &) const) {
        steps.push_back({QLatin1String(name), QString(), fragment, true});
    };
    // The checks and the hidden fields in one pass, made before the page,
    // in the memory of the parts of the page before.
    std::vector<QString> *room = &m_partRoom;
    PageParts checks(room), types(room), counts(room), texts(room), rights(room), allAnswers(room);
    checks.text() += formScriptStart();
    hiddenFields(types, counts, texts, rights, allAnswers, checks);
    checks.text() += formScriptEnd();
    auto fillMade = [&steps](const char *name, PageParts &parts) {
        steps.push_back({QLatin1String(name), QString(), nullptr, true, parts.take()});
    };
    auto skip = [&steps](const char *name) { steps.push_back({QLatin1String(name), QString(), nullptr, false}); };

    fill("CSS", styleSheet());
    fillMade("JSCRIPT", checks);
    fill("SETTINGS", scrambledFlag(f(SettingKey::chkShowAuswertung)));
    fill("TITLE", htmlAttribute(t(SettingKey::edtFormTitel)));
    fill("ENCODING", t(SettingKey::encoding));
    fill("FORMMAIL", htmlAttribute(t(SettingKey::cboFormMailer)));
    fill("ERRORPAGES", errorPageFields());
    fill("TEXTAUSWERTHEAD", htmlAttribute(t(SettingKey::edtAuswertungHeader)));
    fill("TEXTAUSWERT", base64(encodeText(QString(t(SettingKey::memoAuswertung)).replace(CRLF, lineBreakMarker()))));
    fill("BGCOLOR", t(SettingKey::edtHGColor));
    fill("TABLECOLOR", t(SettingKey::edtTabColor));
    fill("TEXTCOLOR", t(SettingKey::edtTextColor));
    fill("HEADINGCOLOR", t(SettingKey::edtHeaderColor));
    fill("HEADINGFONT", t(SettingKey::cboFontHeader));
    fill("HEADINGFONTSIZE", t(SettingKey::edtSizeHeader));
    fill("NORMALFONT", t(SettingKey::cboFontForm));
    fill("NORMALFONTSIZE", t(SettingKey::edtSizeForm));
    fill("TABLEWIDTH", htmlAttribute(t(SettingKey::edtTabWidth)));
    fill("TITLETAG", htmlText(t(SettingKey::edtFormTitel)));
    fill("QUESTIONCOUNT", QString::number(q.questions().count()));
    fillMade("QUESTIONTYP", types);
    fillMade("QUESTIONANSWERCOUNT", counts);
    fillMade("QUESTIONS", texts);
    fillMade("ANSWERS", rights);
    fillMade("ALLANSWERS", allAnswers);
    fill("SHOWUSERANSWERS", boolText(f(SettingKey::chkShowUserAnswers)));
    fill("CHKSHOWUSERCORRECTANSWERS", boolText(f(SettingKey::chkShowUserCorrectAnswers)));
    fill("SHOWPICDIAGRAMM", boolText(f(SettingKey::chkShowPicDiagramm)));
    fill("SUBJECT", htmlAttribute(t(SettingKey::edtBetreff)));
    fill("ADMIN", scrambledBase64(encodeText(t(SettingKey::edtEMail))));
    fill("FORMID", newFormId());
    fill("SETTINGSC", scrambledBase64(boolText(f(SettingKey::chkCaptcha))));
    if (f(SettingKey::chkCaptcha))
        fill("CAPTCHA", captchaBlock());
    else
        skip("CAPTCHA");
    fill("BEITE", htmlAttribute(t(SettingKey::edtTabWidth)));
    fill("FORMTITLE", htmlText(t(SettingKey::edtFormTitel)));
    fill("EINLEITUNGTEXT", htmlMarkup(t(SettingKey::memoEinleitung)));
    fillWhileWritten("FIELDS", &PageGenerator::questionRows);
    if (f(SettingKey::chkShowAdress) && f(SettingKey::rdBegin))
        fill("INPUTF", addressBlock());
    else
        skip("INPUTF");
    if (f(SettingKey::chkShowAdress) && f(SettingKey::rdEnd))
        fill("INPUTD", addressBlock());
    else
        skip("INPUTD");
    fill("TEXTENDE", htmlMarkup(t(SettingKey::memoTextEnde)));
    fill("SENDBUTTON", htmlAttribute(t(SettingKey::edtSendenButton)));
    fill("RESETBUTTON", htmlAttribute(t(SettingKey::edtCancelButton)));
    if (f(SettingKey::chkPrintButton))
        fill("PRINTBUTTON",
             QStringLiteral("<input type=\"button\" name=\"print\" value=\"") + htmlAttribute(t(SettingKey::edtPrint)) +
                 QStringLiteral("\" onClick=\"javascript:window.print()\" class=\"button\">") + CRLF);
    else
        skip("PRINTBUTTON");
    fill("CLASS", f(SettingKey::cboStandardButton) ? QString() : QStringLiteral("class=\"button\""));

    PageFiller filler(*this, std::move(steps), std::move(m_room));
    const bool filled = filler.fill(templ, m_maxPageChars, page, utf8);
    filler.giveBackParts(&m_partRoom);
    if (!filled)
        return false;
    if (utf8 && !filler.utf8Done())
        *utf8 = TextCodec::toUtf8(*page, std::move(*utf8));
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

void PageParts::newPart()
{
    if (m_room && !m_room->empty()) {
        m_parts.push_back(std::move(m_room->back()));
        m_room->pop_back();
        m_parts.back().truncate(0);
        return;
    }
    // Room for the line that passes kPartChars, so that a part is rarely
    // grown and copied.
    m_parts.emplace_back();
    m_parts.back().reserve(kPartChars + kPartChars / 4);
}

QString PageParts::joined() const
{
    qsizetype n = 0;
    for (const QString &part : m_parts)
        n += part.size();
    QString out;
    out.reserve(n);
    for (const QString &part : m_parts)
        out += part;
    return out;
}

QString PageGenerator::formScriptStart() const
{
    return QStringLiteral("<script type=\"text/javascript\">") + CRLF + QStringLiteral("<!--") + CRLF + QStringLiteral("function chkFormular()") +
           CRLF + QStringLiteral("{") + CRLF;
}

QString PageGenerator::formScriptEnd() const
{
    return addressScript() + CRLF + QStringLiteral(" return(true); }//--></script>") + CRLF;
}

void PageGenerator::formScript(PageParts &out) const
{
    out.text() += formScriptStart();
    eachQuestion(out, &PageGenerator::checkField);
    out.text() += formScriptEnd();
}

void PageGenerator::questionRows(PageParts &out) const
{
    const bool css = !m_quiz.flag(SettingKey::cboStandardFeld);
    int n = 0;
    for (const auto &question : m_quiz.questions()) {
        question->appendMarkup(out.text(), css, ++n);
        out.text() += CRLF;
        out.lineBoundary();
    }
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

namespace {
// prefix followed by the number k, in buffer, whose room is kept from one
// field to the next.
const QString &numbered(QString &buffer, QLatin1String prefix, int k)
{
    buffer.truncate(0);
    buffer += prefix;
    PageText::appendNumber(buffer, k);
    return buffer;
}
} // namespace

void PageGenerator::eachQuestion(PageParts &out, void (PageGenerator::*field)(QString &, const Question &, int, FieldRoom &) const) const
{
    FieldRoom room;
    int k = 0;
    for (const auto &q : m_quiz.questions()) {
        (this->*field)(out.text(), *q, k++, room);
        out.lineBoundary();
    }
}

void PageGenerator::questionTypeFields(PageParts &out) const
{
    eachQuestion(out, &PageGenerator::typeField);
}

void PageGenerator::answerCountFields(PageParts &out) const
{
    eachQuestion(out, &PageGenerator::countField);
}

void PageGenerator::questionTextFields(PageParts &out) const
{
    eachQuestion(out, &PageGenerator::textField);
}

void PageGenerator::rightAnswerFields(PageParts &out) const
{
    eachQuestion(out, &PageGenerator::rightAnswerField);
}

void PageGenerator::allAnswerFields(PageParts &out) const
{
    eachQuestion(out, &PageGenerator::allAnswerField);
}

void PageGenerator::hiddenFields(PageParts &types, PageParts &counts, PageParts &texts, PageParts &rights, PageParts &allAnswers,
                                 PageParts &checks) const
{
    FieldRoom room;
    int k = 0;
    for (const auto &q : m_quiz.questions()) {
        checkField(checks.text(), *q, k, room);
        typeField(types.text(), *q, k, room);
        countField(counts.text(), *q, k, room);
        textField(texts.text(), *q, k, room);
        rightAnswerField(rights.text(), *q, k, room);
        allAnswerField(allAnswers.text(), *q, k, room);
        for (PageParts *parts : {&checks, &types, &counts, &texts, &rights, &allAnswers})
            parts->lineBoundary();
        ++k;
    }
}

void PageGenerator::checkField(QString &out, const Question &q, int k, FieldRoom &) const
{
    if (q.required)
        q.appendCheckScript(out, k + 1);
}

void PageGenerator::typeField(QString &out, const Question &q, int k, FieldRoom &room) const
{
    appendHiddenField(out, numbered(room.name, QLatin1String("typeFrage"), k), q.typeName());
}

void PageGenerator::countField(QString &out, const Question &q, int k, FieldRoom &room) const
{
    room.value.truncate(0);
    PageText::appendNumber(room.value, q.answerCount());
    appendHiddenField(out, numbered(room.name, QLatin1String("countFrage"), k), room.value);
}

void PageGenerator::textField(QString &out, const Question &q, int k, FieldRoom &room) const
{
    // Escaped for the attribute, so that the browser sends the text as typed.
    appendHiddenField(out, numbered(room.name, QLatin1String("beschrFrage"), k), PageText::htmlEscaped(q.caption));
}

void PageGenerator::rightAnswerField(QString &out, const Question &q, int k, FieldRoom &room) const
{
    QString &joined = room.joined;
    numbered(room.name, QLatin1String("FA"), k);
    // One field "FAk" with the scrambled Base64 of plain.
    auto field = [&out, &room](QStringView plain) {
        room.value.truncate(0);
        appendBase64(room.value, plain, true);
        appendHiddenField(out, room.name, room.value);
    };
    switch (q.kind()) {
    case QuestionKind::FreeText:
        field(joinItems(static_cast<const FreeTextQuestion &>(q).answers));
        break;
    case QuestionKind::MultipleChoice: {
        // The right options as "FrageN_J|text", joined by "#".
        joined.truncate(0);
        const auto &options = static_cast<const MultipleChoiceQuestion &>(q).options;
        bool first = true;
        for (size_t j = 0; j < options.size(); ++j) {
            if (!options[j].right)
                continue;
            if (!first)
                joined += QChar(listSeparator);
            first = false;
            joined += QLatin1String("Frage");
            PageText::appendNumber(joined, k + 1);
            joined += QLatin1Char('_');
            PageText::appendNumber(joined, qint64(j));
            joined += QChar(itemSeparator) + encodeItem(options[j].text);
        }
        field(joined);
        break;
    }
    case QuestionKind::SingleChoice: {
        const auto &options = static_cast<const SingleChoiceQuestion &>(q).options;
        for (size_t j = 0; j < options.size(); ++j) {
            if (!options[j].right)
                continue;
            joined.truncate(0);
            PageText::appendNumber(joined, qint64(j));
            joined += QChar(itemSeparator) + encodeItem(options[j].text);
            field(joined);
        }
        break;
    }
    }
}

void PageGenerator::allAnswerField(QString &out, const Question &q, int k, FieldRoom &room) const
{
    if (q.kind() == QuestionKind::FreeText)
        return;
    const auto &options = static_cast<const ChoiceQuestion &>(q).options;
    for (size_t j = 0; j < options.size(); ++j) {
        numbered(room.name, QLatin1String("FA_USER_"), k);
        room.name += QLatin1Char('_');
        PageText::appendNumber(room.name, qint64(j));
        room.value.truncate(0);
        appendBase64(room.value, encodeText(options[j].text));
        appendHiddenField(out, room.name, room.value);
    }
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
