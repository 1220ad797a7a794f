#pragma once

// Small builders shared by the page generator's tests: questions of each
// kind and settings applied to a quiz from a table row.

#include "freetextquestion.h"
#include "multiplechoicequestion.h"
#include "questionlist.h"
#include "singlechoicequestion.h"
#include "quiz.h"
#include "testkeys.h"

#include <QList>
#include <QMetaType>
#include <QVariantMap>
#include <functional>
#include <memory>

using QuestionPtr = std::shared_ptr<Question>;
using Questions = QList<QuestionPtr>;
Q_DECLARE_METATYPE(QuestionPtr)
Q_DECLARE_METATYPE(Questions)

namespace Fixture {

// The style block of the initial design, as the page must read.
inline const QString kDefaultStyle = QStringLiteral("<style>\r\n"
                                                    "<!--\r\n"
                                                    "body { background-color:#C0C0C0;  }\r\n"
                                                    "h1 { color:#000000; font-family:Arial,Helvetica,Geneva; font-size:12pt; }\r\n"
                                                    "p,li { color:#000080; font-family:Arial,Helvetica,Geneva; font-size:10pt; }\r\n"
                                                    "TD   { color:#000080; font-family:Arial,Helvetica,Geneva; font-size:10pt; }\r\n"
                                                    ".tableback { background-color:#FFFFFF}\r\n"
                                                    "-->\r\n"
                                                    "</style>\r\n");

inline QuestionPtr simple(const QString &caption, const QStringList &answers, const QString &size = QStringLiteral("15"),
                          const QString &maxLength = QStringLiteral("100"))
{
    auto q = std::make_shared<FreeTextQuestion>();
    q->caption = caption;
    q->answers = answers;
    q->fieldSize = size;
    q->maxLength = maxLength;
    return q;
}

inline QuestionPtr multi(const QString &caption, const std::vector<AnswerOption> &options)
{
    auto q = std::make_shared<MultipleChoiceQuestion>();
    q->caption = caption;
    q->options = options;
    return q;
}

inline QuestionPtr single(const QString &caption, const std::vector<AnswerOption> &options)
{
    auto q = std::make_shared<SingleChoiceQuestion>();
    q->caption = caption;
    q->options = options;
    return q;
}

// The question after edit has changed its shared fields.
inline QuestionPtr with(QuestionPtr q, const std::function<void(Question &)> &edit)
{
    edit(*q);
    return q;
}

inline QuestionPtr required(QuestionPtr q)
{
    q->required = true;
    return q;
}

// A bool sets a flag, a colour button's name takes a colour value (uint),
// anything else is a text setting.
inline void apply(Quiz &quiz, const QVariantMap &settings)
{
    for (auto it = settings.cbegin(); it != settings.cend(); ++it) {
        if (Colours::pairOfButton(it.key()))
            quiz.setColor(it.key(), ColorValue(it.value().toUInt()));
        else if (it.value().typeId() == QMetaType::Bool)
            quiz.setFlag(settingKey(it.key()), it.value().toBool());
        else
            quiz.setText(settingKey(it.key()), it.value().toString());
    }
}

inline void addQuestions(Quiz &quiz, const Questions &questions)
{
    for (const QuestionPtr &q : questions)
        quiz.questions().append(q->clone());
}

} // namespace Fixture
