#pragma once

struct CoreContext;

// One 200 ms tick: clock labels, then at most one due task fired. Ends silently on any failure.
void SchedulerTick(CoreContext &ctx);
// Turns fired tasks back to active once their second (every day) or their day (birthday) passed.
void RearmFiredTasks(CoreContext &ctx);
// Settles task k in the file (deleted, or "falseM"), rebuilds, then runs its action.
void FireTask(CoreContext &ctx, int task);
