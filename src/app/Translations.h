#pragma once

#include <QString>

class QCoreApplication;

// Qt's own texts (standard buttons, file and colour dialogs) in Russian, to match the rest of the
// program: qtbase_ru.qm from Qt's translations folder, whatever the system's language.

// The folder Qt's translation files are installed in.
QString QtTranslationsFolder();

// Loads qtbase_ru.qm from folder and installs it into app (the translator becomes app's child).
// False, with nothing installed, when the file is missing or unreadable: Qt then speaks English.
bool InstallQtTranslations(QCoreApplication &app, const QString &folder = QtTranslationsFolder());
