#pragma once

#include <QString>
#include <functional>

class Quiz;

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

    // The complete page. On failure it returns false, page is untouched and
    // error holds the reason: for Failure::Template the template's path and
    // the system's text, otherwise a German message to show as it is.
    bool generate(QString *page, QString *error = nullptr);
    // Why the last generate() failed.
    Failure failure() const { return m_failure; }
    // The template read as 8-bit text, every line followed by CR LF.
    bool loadTemplate(QString *text, QString *error = nullptr) const;

    // Fragments of the page.
    QString styleSheet() const;
    QString formScript() const;
    QString addressBlock() const;
    QString addressScript() const;
    QString errorPageFields() const;
    QString questionTypeFields() const;
    QString answerCountFields() const;
    QString questionTextFields() const;
    QString rightAnswerFields() const;
    QString allAnswerFields() const;
    QString captchaBlock() const;
    QString questionRows() const;
    QString newFormId();
    int formId() const { return m_formId; }

private:
    bool fillTemplate(const QString &templ, QString *page);

    const Quiz &m_quiz;
    Failure m_failure = Failure::None;
    qsizetype m_maxPageChars = kMaxPageChars;
    QString m_templatePath;
    std::function<int()> m_formIdSource;
    int m_formId = 0;
};
