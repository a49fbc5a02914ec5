#pragma once

#include <QString>

// Starts a program that outlives us, in its own session, with `folder` as its working folder.
// Started without copying this process (posix_spawn), so a large program starts it in well under
// a millisecond; the ended child is collected so it never lingers as a zombie. Returns false when
// the program cannot be started (not found, not permitted, not a format the system runs).
bool StartDetachedProgram(const QString &program, const QString &folder);
