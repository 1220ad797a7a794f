#pragma once

class QWidget;

namespace Placement {

// Moves a window to the centre of the window that owns it, or of the screen
// when it has no visible owner.
void centreOnOwner(QWidget *window);

} // namespace Placement
