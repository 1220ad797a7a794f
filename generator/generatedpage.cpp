#include "generatedpage.h"

#include "linebreaks.h"
#include "pagegenerator.h"
#include "quiz.h"
#include "savefile.h"
#include "textcodec.h"

bool generatePage(const Quiz &quiz, GeneratedPage *page, QString *error, const PageOptions &options)
{
    PageGenerator generator(quiz);
    if (!options.templatePath.isEmpty())
        generator.setTemplatePath(options.templatePath);
    if (options.formIdSource)
        generator.setFormIdSource(options.formIdSource);
    QString html;
    if (!generator.generate(&html, error))
        return false;
    GeneratedPage result;
    result.text = LineBreaks::toCrLf(html);
    result.bytes = TextCodec::pageBytes(result.text, quiz.text(SettingKey::encoding));
    result.formId = generator.formId();
    *page = std::move(result);
    return true;
}

bool exportPage(const GeneratedPage &page, const QString &path, QString *error)
{
    return writeFileSafely(path, page.bytes, error);
}
