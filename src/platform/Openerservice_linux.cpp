#include "Openerservice.h"

#include "Detachedstart_linux.h"

#include <QDesktopServices>
#include <QFileInfo>

namespace {

class LinuxOpenerService final : public OpenerService {
public:
    explicit LinuxOpenerService(DesktopUrlHandler handler)
        : m_handler(std::move(handler))
    {
    }

    void Open(const QString &path) override
    {
        if (path.isEmpty())
            return;
        const QFileInfo file(path);
        if (!file.exists())
            return; // as with any other failure to open: no message of ours
        // A file can carry the executable bit without being a program (documents on FAT or NTFS
        // drives all do): if it cannot be started, the desktop opens it as a document.
        if (file.isFile() && file.isExecutable()
            && StartDetachedProgram(file.absoluteFilePath(), file.absolutePath()))
            return;
        OpenUrl(QUrl::fromLocalFile(file.absoluteFilePath()));
    }

    void OpenUrl(const QUrl &url) override
    {
        if (url.isEmpty())
            return;
        if (m_handler)
            m_handler(url);
        else
            QDesktopServices::openUrl(url);
    }

private:
    DesktopUrlHandler m_handler;
};

} // namespace

std::unique_ptr<OpenerService> CreateOpenerService(DesktopUrlHandler handler)
{
    return std::make_unique<LinuxOpenerService>(std::move(handler));
}
