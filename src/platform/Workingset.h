#pragma once

// Returns the process's idle memory to the system (after a dialog or notice closes).
void TrimWorkingSet();
