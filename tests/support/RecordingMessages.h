#pragma once

#include "Ports.h"

#include <QStringList>

#include <functional>

// Message boxes that record what they were asked to show and give a preset answer. With a shared
// log they also write "message:<text>" and "question:<text>" there, beside other stand-ins.
class RecordingMessages final : public UserMessages {
public:
    RecordingMessages() = default;
    explicit RecordingMessages(QStringList &sharedLog)
        : m_sharedLog(&sharedLog)
    {
    }

    QStringList shown; // texts of plain messages
    QStringList questions; // "caption|text" of yes/no questions
    bool answerYes = true;
    // Called while a message is "open", as with the notices of RecordingActions.
    std::function<void(const QString &text)> whileOpen;

    void ShowMessage(const QString &text) override
    {
        shown << text;
        if (m_sharedLog)
            *m_sharedLog << QStringLiteral("message:") + text;
        if (whileOpen)
            whileOpen(text);
    }
    bool AskYesNo(const QString &text, const QString &caption) override
    {
        questions << caption + QLatin1Char('|') + text;
        if (m_sharedLog)
            *m_sharedLog << QStringLiteral("question:") + text;
        return answerYes;
    }

private:
    QStringList *m_sharedLog = nullptr;
};
