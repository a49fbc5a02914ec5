#pragma once

#include "Firstrun.h"

// The Settings section as the first run leaves it, for tests that start after it; a test changes
// the values it is about. (test_firstrun checks those values on their own.)
inline void SeedSettingsAfterFirstRun(SettingsBackend &store)
{
    WriteSettingsDefaults(store);
}
