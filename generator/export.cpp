#include "export.h"

#include "textcodec.h"
#include "savefile.h"

bool exportPage(const QString &page, const QString &encoding, const QString &path, QString *error)
{
    return writeFileSafely(path, TextCodec::pageBytes(page, encoding), error);
}
