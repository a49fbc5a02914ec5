#pragma once

#include <QString>

#include <stdexcept>

// The one error type of the program. It carries the text that the user is shown by the default
// error report (a message box with the text, caption "Zarvo").
class ZarvoError : public std::runtime_error
{
public:
    explicit ZarvoError(const QString &text)
        : std::runtime_error(text.toStdString())
        , m_text(text)
    {
    }

    const QString &text() const noexcept { return m_text; }

private:
    QString m_text;
};
