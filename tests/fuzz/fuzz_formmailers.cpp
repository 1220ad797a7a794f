// The quiz-script address list: both readings of any file, and the writer
// on what the manager's reading gave.

#include "formmailers.h"
#include "fuzzsupport.h"

static QString withoutLineBreaks(QString s)
{
    return s.remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
}

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    FuzzSupport::startApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = FuzzSupport::bytesOf(data, size);
    (void)FormMailers::dropDownEntries(bytes);
    const QStringList rows = FormMailers::managerEntries(bytes);

    // The written list reads back with the same entries in both readings.
    // Only line breaks may change: the list stores CR LF as CR CR LF, which
    // its readers take as two LF.
    const QByteArray written = FormMailers::toBytes(rows);
    const QStringList back = FormMailers::managerEntries(written);
    if (back.size() != rows.size() || FormMailers::dropDownEntries(written) != back)
        FuzzSupport::fail("a written address list reads back with other entries");
    for (qsizetype i = 0; i < rows.size(); ++i)
        if (withoutLineBreaks(back[i]) != withoutLineBreaks(rows[i]))
            FuzzSupport::fail("an address changes on the way through the file");
    return 0;
}
