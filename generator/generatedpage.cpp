#include "generatedpage.h"
#include "outofmemory.h"

#include "quiz.h"
#include "savefile.h"
#include "textcodec.h"

#include <new>

bool generatePage(const Quiz &quiz, GeneratedPage *page, QString *error, const PageOptions &options, PageGenerator::Failure *failure)
{
    PageGenerator generator(quiz);
    if (!options.templatePath.isEmpty())
        generator.setTemplatePath(options.templatePath);
    if (options.formIdSource)
        generator.setFormIdSource(options.formIdSource);
    if (failure)
        *failure = PageGenerator::Failure::None;
    QString html;
    if (!generator.generate(&html, error)) {
        if (failure)
            *failure = generator.failure();
        return false;
    }
    try {
        GeneratedPage result;
        result.text = std::move(html);
        result.bytes = TextCodec::pageBytes(result.text, quiz.text(SettingKey::encoding));
        result.formId = generator.formId();
        *page = std::move(result);
    } catch (const std::bad_alloc &) {
        if (failure)
            *failure = PageGenerator::Failure::OutOfMemory;
        if (error)
            *error = OutOfMemory::generating();
        return false;
    }
    return true;
}

bool exportPage(const GeneratedPage &page, const QString &path, QString *error)
{
    return writeFileSafely(path, page.bytes, error);
}
