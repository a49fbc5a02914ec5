#pragma once

#include <QString>

// The caption of the message boxes shown before the program has its title: the executable's file
// name without its folder, cut at the first dot ("zarvo.bin" -> "zarvo").
QString EarlyCaption(const QString &executablePath);
