#pragma once

#include "store.h"

#include <QByteArray>
#include <QList>

// The stored results as pruvex-server results writes them.
namespace ResultsExport {

// One array, oldest first: {"form", "time", "subject", "right", "scored",
// "questions": [{"type", "text", "answers", "right"}], "address"}.
QByteArray json(const QList<Store::Row> &rows);
// For a German spreadsheet: UTF-8 with byte-order mark, semicolons, CR LF,
// one row per submission and one column per question.
QByteArray csv(const QList<Store::Row> &rows);

} // namespace ResultsExport
