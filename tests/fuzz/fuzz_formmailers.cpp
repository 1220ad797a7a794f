// The quiz-script address list: both readings of any file, and the writer
// on what the manager's reading gave.

#include "formmailers.h"
#include "fuzzsupport.h"

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

    // The written list reads back with as many entries in both readings,
    // and after one round it stays as it is.
    const QByteArray written = FormMailers::toBytes(rows);
    const QStringList back = FormMailers::managerEntries(written);
    if (back.size() != rows.size() || FormMailers::dropDownEntries(written) != back)
        FuzzSupport::fail("a written address list reads back differently");
    if (FormMailers::managerEntries(FormMailers::toBytes(back)) != back)
        FuzzSupport::fail("an address list changes on every round");
    return 0;
}
