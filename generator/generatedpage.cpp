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
    generator.giveRoom(std::move(page->roomForText), std::move(page->roomForParts));
    QString html;
    // A UTF-8 page gets its bytes while it is written.
    const QString encoding = quiz.text(SettingKey::encoding);
    const bool utf8 = TextCodec::namesUtf8(encoding);
    QByteArray bytes = std::move(page->roomForBytes);
    if (!generator.generate(&html, error, utf8 ? &bytes : nullptr)) {
        if (failure)
            *failure = generator.failure();
        return false;
    }
    try {
        GeneratedPage result;
        result.text = std::move(html);
        result.bytes = utf8 ? std::move(bytes) : TextCodec::pageBytes(result.text, encoding, std::move(bytes));
        result.formId = generator.formId();
        // Nothing can fail from here on: the page before gives its memory
        // to the next one.
        result.roomForText = std::move(page->text);
        result.roomForBytes = std::move(page->bytes);
        result.roomForParts = generator.takePartRoom();
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
