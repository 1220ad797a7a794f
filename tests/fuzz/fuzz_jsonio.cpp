// The JSON that "pruvex-cli build" reads: any text, and for every object it
// accepts, the project file it saves must load again.

#include "fuzzsupport.h"
#include "jsonio.h"
#include "projectfile.h"
#include "questionlist.h"
#include "quiz.h"

#include <QJsonDocument>
#include <QJsonObject>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    FuzzSupport::startApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(FuzzSupport::bytesOf(data, size), &parseError);
    if (!doc.isObject())
        return 0;
    Quiz quiz;
    QString error;
    if (!applyJson(quiz, doc.object(), &error)) {
        if (error.isEmpty())
            FuzzSupport::fail("refused without naming the problem");
        return 0;
    }
    Quiz loaded;
    QString reason;
    if (!ProjectFile::fromBytes(loaded, ProjectFile::toBytes(quiz), &reason))
        FuzzSupport::fail("a built project does not load");
    if (loaded.questions().count() != quiz.questions().count())
        FuzzSupport::fail("questions lost between build and load");
    (void)formatJson(quizToJson(loaded));
    return 0;
}
