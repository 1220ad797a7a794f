#include "placement.h"

#include <QRect>
#include <QScreen>
#include <QWidget>

namespace Placement {

void centreOnOwner(QWidget *window)
{
    QRect area;
    if (QWidget *owner = window->parentWidget(); owner && owner->window()->isVisible())
        area = owner->window()->frameGeometry();
    else if (QScreen *s = window->screen())
        area = s->availableGeometry();
    if (area.isValid())
        window->move(area.center() - window->rect().center());
}

} // namespace Placement
