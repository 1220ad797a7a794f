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

    // The complete page. On a template that cannot be read it returns false
    // and error holds the reason; page is then untouched.
    bool generate(QString *page, QString *error = nullptr);
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
    const Quiz &m_quiz;
    QString m_templatePath;
    std::function<int()> m_formIdSource;
    int m_formId = 0;
};
