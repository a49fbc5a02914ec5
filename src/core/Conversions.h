#pragma once

#include <QString>

// Reads a whole decimal integer (optional leading blanks and sign) or throws
// ZarvoError("'<text>' is not a valid integer value").
int StrToInt(const QString &text);
