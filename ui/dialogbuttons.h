#pragma once

class QHBoxLayout;
class QPushButton;

// The OK and Cancel buttons of the program's dialogs: a right-aligned row,
// "OK" the default button, so that Enter in a field confirms.
namespace DialogButtons {

enum class Order { OkFirst, CancelFirst };

struct Row {
    QPushButton *ok;
    QPushButton *cancel;
    QHBoxLayout *layout;
};

// The buttons carry the object names given, which tests and the tab order use.
Row okCancel(const char *okName, const char *cancelName, Order order);

} // namespace DialogButtons
