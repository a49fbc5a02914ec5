#pragma once

#include <QString>

class QWidget;

// What a screen reader says for each control of the windows: the caption a person reads on the
// screen, never the control's programming name. One table for every window; tests find controls
// by object name, screen readers (and the end-to-end tests) by role and this name.
namespace AccessibleNames {

// The name of the control `objectName` of the window `windowName` ("frmAdd", "frmSettings",
// "frmMain", "frmAbout"); empty when the table has none.
QString For(const QString &windowName, const QString &objectName);

// Gives every control of the window that the table names its accessible name. A combo box also
// gets its caption through the label made its buddy (Qt on Linux reads a combo's value as its
// name and the caption from that relation).
void Apply(QWidget &window);

} // namespace AccessibleNames
