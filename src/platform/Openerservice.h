#pragma once

#include <QString>
#include <QUrl>

#include <functional>
#include <memory>

// Opens what a task or a link names: a program is started, a document is opened in the program
// the desktop has for its type, a URL goes to the desktop's handler (browser, mail program).
// Nothing is reported back and no message of ours is shown; an empty or missing path is skipped.
class OpenerService {
public:
    virtual ~OpenerService() = default;
    virtual void Open(const QString &path) = 0;
    virtual void OpenUrl(const QUrl &url) = 0;
};

// What hands a document or URL to the desktop. Tests pass their own to see what reached it.
using DesktopUrlHandler = std::function<void(const QUrl &)>;

// With no handler given, the desktop's own (QDesktopServices) is used.
std::unique_ptr<OpenerService> CreateOpenerService(DesktopUrlHandler handler = {});
