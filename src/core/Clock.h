#pragma once

#include <QDateTime>

// Where "now" comes from. The program uses the system's local clock; tests set any moment.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime CurrentDateTime() const = 0;
};

class SystemClock final : public Clock
{
public:
    QDateTime CurrentDateTime() const override { return QDateTime::currentDateTime(); }
};
