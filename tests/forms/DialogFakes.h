#pragma once

#include "support/RecordingHelp.h"
#include "support/RecordingServices.h"

#include <QList>
#include <QPointer>

#include <utility>

// The dialogs a test fixture opened. A dialog refers to the fixture's members, and one that a test
// closed deletes itself only later, from the event loop: declared as the fixture's last member,
// this deletes every dialog still alive before the members they refer to go.
template<typename Dialog> class OpenedDialogs {
public:
    OpenedDialogs() = default;
    OpenedDialogs(const OpenedDialogs &) = delete;
    OpenedDialogs &operator=(const OpenedDialogs &) = delete;
    ~OpenedDialogs()
    {
        for (const QPointer<Dialog> &dialog : std::as_const(m_dialogs))
            delete dialog.data();
    }

    Dialog *add(Dialog *dialog)
    {
        m_dialogs << dialog;
        return dialog;
    }

private:
    QList<QPointer<Dialog>> m_dialogs;
};
