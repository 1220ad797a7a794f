// Project files as a stranger's USB stick brings them: the loader, and for
// every file that loads, the save, show -> build and the page.

#include "fuzzsupport.h"
#include "jsonio.h"
#include "linebreaks.h"
#include "pagegenerator.h"
#include "projectfile.h"
#include "questionlist.h"
#include "quiz.h"
#include "textcodec.h"

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    FuzzSupport::startApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Quiz quiz;
    QString reason;
    if (!ProjectFile::fromBytes(quiz, FuzzSupport::bytesOf(data, size), &reason))
        return 0;

    // What is saved loads again, and saving that gives the same bytes.
    const QByteArray saved = ProjectFile::toBytes(quiz);
    Quiz reloaded;
    if (!ProjectFile::fromBytes(reloaded, saved, &reason))
        FuzzSupport::fail("a saved project does not load");
    if (ProjectFile::toBytes(reloaded) != saved)
        FuzzSupport::fail("saving a reloaded project changes it");
    if (reloaded.questions().count() != quiz.questions().count())
        FuzzSupport::fail("questions lost on reloading");

    // show -> build: the JSON of a loaded project is accepted again.
    Quiz built;
    QString error;
    if (!applyJson(built, quizToJson(quiz), &error))
        FuzzSupport::fail("build refuses the JSON of show");
    (void)formatJson(quizToJson(built));

    // The page, as the export writes it.
    PageGenerator generator(quiz);
    generator.setTemplatePath(QStringLiteral(PRUVEX_TEMPLATE));
    generator.setFormIdSource([] { return 4711; });
    // Under the sanitizers a page of the full limit takes longer than the
    // fuzzer waits; the limit's handling is the same at any value.
    generator.setMaxPageChars(4 * 1024 * 1024);
    QString page;
    if (generator.generate(&page, &error)) {
        page = LineBreaks::toCrLf(page);
        (void)TextCodec::pageBytes(page, quiz.text(SettingKey::encoding));
    } else if (generator.failure() == PageGenerator::Failure::Template) {
        FuzzSupport::fail("the template cannot be read");
    }
    return 0;
}
