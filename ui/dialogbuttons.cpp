#include "dialogbuttons.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace DialogButtons {

Row okCancel(const char *okName, const char *cancelName, Order order)
{
    Row row{new QPushButton(QStringLiteral("OK")), new QPushButton(QStringLiteral("Abbrechen")), new QHBoxLayout};
    row.ok->setObjectName(QLatin1String(okName));
    row.cancel->setObjectName(QLatin1String(cancelName));
    // Without a default button Qt makes the first in the tab order the
    // default, and Enter in a field could drop the input.
    row.ok->setDefault(true);
    row.layout->addStretch(1);
    row.layout->addWidget(order == Order::OkFirst ? row.ok : row.cancel);
    row.layout->addWidget(order == Order::OkFirst ? row.cancel : row.ok);
    return row;
}

} // namespace DialogButtons
