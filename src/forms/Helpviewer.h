#pragma once

#include "Ports.h"

#include <QString>

// Opens the program's help window at a topic of zhelp.hlp. The file is looked up and read anew
// on every request, so the window always shows the file as it is now. A missing file or topic is
// told to the user in a message box; no empty window appears.
class WindowHelpViewer : public HelpViewer
{
public:
    // `executableDir`: the folder the help file is looked for first (the program's own folder).
    WindowHelpViewer(UserMessages &messages, const QString &executableDir);

    void OpenHelp(const QString &topic) override;

private:
    UserMessages &m_messages;
    QString m_executableDir;
};
