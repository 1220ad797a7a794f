#include "export.h"

#include "textcodec.h"
#include "xmlfile.h"

bool ExportPage(const QString &page, const QString &encoding, const QString &path, QString *error)
{
    return writeFileSafely(path, TextCodec::pageBytes(page, encoding), error);
}
