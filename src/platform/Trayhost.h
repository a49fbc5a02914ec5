#pragma once

// How the desktop's notification area reports clicks on our icon. A StatusNotifierItem host
// reports an activation as one click and never a double-click; an embedding host (XEmbed) reports
// a click and then a double-click.
bool TrayHostReportsDoubleClick();
