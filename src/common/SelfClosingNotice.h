#pragma once

#include <QString>

class QWidget;

namespace SelfClosingNotice {
// Shows the notice box modally and returns when it was closed, by the user or by its timer.
// When the timer fires it closes the open box titled "پيام", if there is one, and no other box.
void show(QWidget* parent, const QString& text, int milliseconds = 1000);

// Closes the open notice box, if one is shown; boxes with other titles stay open.
// Returns whether a notice was found.
bool closeOpenNotice();
} // namespace SelfClosingNotice
