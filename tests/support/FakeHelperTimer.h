#pragma once

#include "Ports.h"

#include <QStringList>

// The re-arming timer as a flag, with every call logged ("disable", "enable").
class FakeHelperTimer final : public HelperTimer {
public:
    bool enabled = false;
    QStringList calls;

    void Disable() override
    {
        enabled = false;
        calls << QStringLiteral("disable");
    }
    void Enable() override
    {
        enabled = true;
        calls << QStringLiteral("enable");
    }
    bool IsEnabled() const override { return enabled; }
};
