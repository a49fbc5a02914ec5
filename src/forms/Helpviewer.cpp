#include "Helpviewer.h"

#include "Errors.h"
#include "Helpfile.h"
#include "Helpwindow.h"
#include "Messages.h"

WindowHelpViewer::WindowHelpViewer(UserMessages &messages, const QString &executableDir)
    : m_messages(messages)
    , m_executableDir(executableDir)
{
}

void WindowHelpViewer::OpenHelp(const QString &topic)
{
    const QString path = HelpFilePath(m_executableDir);
    if (path.isEmpty()) {
        m_messages.ShowMessage(Msg::HelpFileNotFound);
        return;
    }
    try {
        THelpWindow::ShowTopic(HelpFile::Load(path), topic);
    } catch (const ZarvoError &error) {
        m_messages.ShowMessage(error.text());
    }
}
