#pragma once

#include "Ports.h"

#include <QStringList>

// Message boxes that record what they were asked to show and give a preset answer.
class RecordingMessages final : public UserMessages {
public:
    QStringList shown; // texts of plain messages
    QStringList questions; // "caption|text" of yes/no questions
    bool answerYes = true;

    void ShowMessage(const QString &text) override { shown << text; }
    bool AskYesNo(const QString &text, const QString &caption) override
    {
        questions << caption + QLatin1Char('|') + text;
        return answerYes;
    }
};
