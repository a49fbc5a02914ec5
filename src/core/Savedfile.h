#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The program's own files on disk: the task file and the settings file.

// A temporary of an atomic save this old is left over from a save that was interrupted.
inline constexpr int StaleTemporaryAgeSeconds = 600;

// Replaces the file at path as a whole (a temporary file beside it, then a rename): a failed or
// interrupted write leaves the old file as it was. A path that is a symbolic link writes its
// target, and an existing target keeps its owner, group and mode. False with the reason in *why.
bool SaveFileAtomically(const QString &path, const QByteArray &bytes, QString *why = nullptr);

// Reads the whole file. Only a regular file is opened: a FIFO, a device or a folder would block
// or make no sense, and is refused with the reason in *why, as is a file that cannot be read.
bool ReadRegularFile(const QString &path, QByteArray &bytes, QString *why = nullptr);

// True when path names something that is there but is no regular file (a FIFO, a device, a
// folder), also through a symbolic link.
bool IsSpecialFile(const QString &path);

// Removes the temporaries that an interrupted SaveFileAtomically left beside path: files named
// like path plus "." and six letters or digits, last changed at least minAgeSeconds ago (a
// younger one may belong to a save in progress). Returns the paths it removed.
QStringList RemoveStaleSaveTemporaries(const QString &path, int minAgeSeconds = StaleTemporaryAgeSeconds);
