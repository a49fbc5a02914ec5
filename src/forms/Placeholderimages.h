#pragma once

#include <QIcon>
#include <QList>

// Plain drawn stand-ins for ImageList1 (seven task-type pictures and the tray clock), used until
// the program's artwork is in: a coloured square with the type digit, and a blue clock face.
QList<QIcon> PlaceholderImageList();
