#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>
#include <QStringList>

// The program's pictures, drawn as SVG and built into the executable. Windows ask here instead of
// naming resource files themselves.
namespace Artwork {

enum class Button { Add, Delete, Change, Clear, Settings, Menu, Exit };
enum class MenuItem { Help, Mail, HomePage, About, ShowMainWindow, AddTask, Settings, Exit };

// Icons draw their pictures at the size asked for, when first asked.
// Image `index` of the main window's image list: 0..6 the task types (type code - 1), 7 the
// tray clock. Any other index gives a null icon.
QIcon ImageListIcon(int index);
// The picture of a task type, code 1 (reminder) .. 7 (birthday); a null icon for other codes.
QIcon TaskTypeIcon(int typeCode);
QIcon TrayIcon();
// The window and program icon, drawn sharp at any size; windows offer 16 to 64 pixels.
QIcon AppIcon();
// The 17 x 17 bell shown while active tasks exist.
QPixmap Bell();
QIcon ButtonGlyph(Button button);
QIcon MenuGlyph(MenuItem item);

// Every picture's resource path, so that tests can check them all.
QStringList AllFiles();

} // namespace Artwork
