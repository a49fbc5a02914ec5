#pragma once

#include <QString>

// Converts a file-dialog filter of the form "text|pattern[|text|pattern...]" (patterns separated
// by ';') into Qt's "text (pattern pattern)" entries joined by ";;". A text that already ends with
// its patterns in brackets is kept as it is. "*.*" means every file, so it becomes "*": files
// without an extension (most programs here) must be offered too.
QString QtFileFilter(const QString &filter);
