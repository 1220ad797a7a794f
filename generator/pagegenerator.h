#pragma once

#include <QString>
#include <functional>

#include <vector>

class Quiz;

// A long fragment of the page in parts of a bounded size, so that no large
// block is grown and copied while it is built. A part ends only where the
// generator has written a whole line and a new line begins, so no
// placeholder of the template spans two parts.
class PageParts
{
public:
    // Keeps the parts, for joined() or take(). With room, each new part
    // takes the memory of a text from there, if one is left.
    explicit PageParts(std::vector<QString> *room = nullptr)
        : m_room(room)
    {
        newPart();
    }
    // Writes straight into target instead, and calls check each time a part's
    // length has been added since the last call, and at finish(): check may
    // then rewrite what was added.
    PageParts(QString *target, std::function<void()> check)
        : m_target(target)
        , m_check(std::move(check))
        , m_checked(target->size())
    {
    }
    QString &text() { return m_target ? *m_target : m_parts.back(); }
    // A place between two lines of the generator's own: a new part starts
    // here when the current one is long enough.
    void lineBoundary()
    {
        if (m_target) {
            if (m_target->size() - m_checked >= kPartChars)
                check();
        } else if (m_parts.back().size() >= kPartChars) {
            newPart();
        }
    }
    // Checks the last part; call once the fragment is complete.
    void finish()
    {
        if (m_target)
            check();
    }
    QString joined() const;
    std::vector<QString> take() { return std::move(m_parts); }

private:
    void check()
    {
        m_check();
        m_checked = m_target->size();
    }
    void newPart();

    static constexpr qsizetype kPartChars = 16 * 1024;
    QString *m_target = nullptr;
    std::function<void()> m_check;
    qsizetype m_checked = 0;
    std::vector<QString> *m_room = nullptr;
    std::vector<QString> m_parts;
};

// Builds the quiz page from a quiz and the page template.
class PageGenerator
{
public:
    explicit PageGenerator(const Quiz &quiz);

    // The template file; "template.htm" beside the program by default.
    void setTemplatePath(const QString &path) { m_templatePath = path; }
    QString templatePath() const { return m_templatePath; }
    // Draws form ids from source instead of the random generator.
    void setFormIdSource(std::function<int()> source) { m_formIdSource = std::move(source); }

    // The longest page that is built, in characters: no quiz comes near it,
    // but texts holding placeholders of later steps can multiply the page.
    static constexpr qsizetype kMaxPageChars = 32 * 1024 * 1024;
    // A lower limit, for the fuzz harness, whose sanitizers make each
    // character slow.
    void setMaxPageChars(qsizetype limit) { m_maxPageChars = limit; }

    enum class Failure { None, Template, TooLarge, OutOfMemory };

    // A text that is no longer needed (an earlier page): the next generate()
    // writes the page into its memory, which spares the system the work of
    // handing out new memory each time.
    // partRoom: the texts that held the long fragments of an earlier page,
    // which takePartRoom() gives back after generate().
    void giveRoom(QString room, std::vector<QString> partRoom)
    {
        m_room = std::move(room);
        m_partRoom = std::move(partRoom);
    }
    std::vector<QString> takePartRoom() { return std::move(m_partRoom); }

    // The complete page, every line break CR LF. On failure it returns false, page is untouched and
    // error holds the reason: for Failure::Template the template's path and
    // the system's text, otherwise a German message to show as it is.
    // With utf8, it also receives the page's UTF-8 bytes (exactly as
    // QString::toUtf8() gives them), made while the page is written, in
    // utf8's memory when it has enough.
    bool generate(QString *page, QString *error = nullptr, QByteArray *utf8 = nullptr);
    // Why the last generate() failed.
    Failure failure() const { return m_failure; }
    // The template read as 8-bit text, every line followed by CR LF.
    bool loadTemplate(QString *text, QString *error = nullptr) const;

    // Fragments of the page; the long ones also in parts.
    QString styleSheet() const;
    QString formScript() const { return parts(&PageGenerator::formScript); }
    QString addressBlock() const;
    QString addressScript() const;
    QString errorPageFields() const;
    QString questionTypeFields() const { return parts(&PageGenerator::questionTypeFields); }
    QString answerCountFields() const { return parts(&PageGenerator::answerCountFields); }
    QString questionTextFields() const { return parts(&PageGenerator::questionTextFields); }
    QString rightAnswerFields() const { return parts(&PageGenerator::rightAnswerFields); }
    QString allAnswerFields() const { return parts(&PageGenerator::allAnswerFields); }
    QString captchaBlock() const;
    QString questionRows() const { return parts(&PageGenerator::questionRows); }
    void formScript(PageParts &out) const;
    void questionTypeFields(PageParts &out) const;
    void answerCountFields(PageParts &out) const;
    void questionTextFields(PageParts &out) const;
    void rightAnswerFields(PageParts &out) const;
    void allAnswerFields(PageParts &out) const;
    // The five kinds of hidden field in one pass over the questions, so that
    // each question's texts are read once for all of them.
    // The checks of the questions too, without the script around them.
    void hiddenFields(PageParts &types, PageParts &counts, PageParts &texts, PageParts &rights, PageParts &allAnswers,
                      PageParts &checks) const;
    // The script around the checks.
    QString formScriptStart() const;
    QString formScriptEnd() const;
    void questionRows(PageParts &out) const;
    QString newFormId();
    int formId() const { return m_formId; }

private:
    // The lines of question q, the k-th from 0, in the hidden fields' five
    // kinds and the check; name, value and joined are room kept from one
    // field to the next.
    struct FieldRoom {
        QString name, value, joined;
    };
    void typeField(QString &out, const class Question &q, int k, FieldRoom &room) const;
    void countField(QString &out, const class Question &q, int k, FieldRoom &room) const;
    void textField(QString &out, const class Question &q, int k, FieldRoom &room) const;
    void rightAnswerField(QString &out, const class Question &q, int k, FieldRoom &room) const;
    void allAnswerField(QString &out, const class Question &q, int k, FieldRoom &room) const;
    // The check of a required question; nothing for the others.
    void checkField(QString &out, const class Question &q, int k, FieldRoom &room) const;
    void eachQuestion(PageParts &out, void (PageGenerator::*field)(QString &, const class Question &, int, FieldRoom &) const) const;
    bool fillTemplate(const QString &templ, QString *page, QByteArray *utf8);
    QString parts(void (PageGenerator::*fragment)(PageParts &) const) const
    {
        PageParts out;
        (this->*fragment)(out);
        return out.joined();
    }

    const Quiz &m_quiz;
    Failure m_failure = Failure::None;
    qsizetype m_maxPageChars = kMaxPageChars;
    QString m_templatePath;
    std::function<int()> m_formIdSource;
    int m_formId = 0;
    QString m_room;
    std::vector<QString> m_partRoom;
};
