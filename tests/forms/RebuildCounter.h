#pragma once

// How often the dialogs had the task list rebuilt; the test's RebuildTaskList counts.
extern int rebuildCount;
