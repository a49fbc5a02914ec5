#pragma once

#include "Ports.h"

#include <QStringList>

// The help viewer: records the topics it was opened at, and also writes "help:<topic>" to a log
// shared with other stand-ins when one is given.
class RecordingHelp final : public HelpViewer {
public:
    RecordingHelp() = default;
    explicit RecordingHelp(QStringList &sharedLog)
        : m_sharedLog(&sharedLog)
    {
    }

    QStringList topics;

    void OpenHelp(const QString &topic) override
    {
        topics << topic;
        if (m_sharedLog)
            *m_sharedLog << QStringLiteral("help:") + topic;
    }

private:
    QStringList *m_sharedLog = nullptr;
};
