#include "Errors.h"
#include "Scheduler.h"
#include "Tasklist.h"
#include "support/CoreFixture.h"
#include "support/FileHelpers.h"

#include <cstddef>
#include <cstdint>

// Any bytes as a task file: the rebuild, a few ticks around a due moment, and re-arming must end
// normally or with the program's own clear error (ZarvoError); anything else escaping is a fault.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static CoreFixture *fixture = new CoreFixture;
    CoreFixture &fx = *fixture;
    if (!writeBytes(fx.ctx.taskFilePath, QByteArray(reinterpret_cast<const char *>(data), qsizetype(size))))
        return 0;
    fx.view.ClearRows();
    fx.ctx.activeTasks.clear();
    fx.actions.calls.clear();
    fx.messages.shown.clear();
    fx.messages.questions.clear();
    fx.helperTimer.calls.clear();
    fx.clock.set(QDateTime(QDate(2004, 1, 5), QTime(9, 5, 0, 100)));
    try {
        RebuildTaskList(fx.ctx);
    } catch (const ZarvoError &) {
    }
    for (int tick = 0; tick < 6; ++tick) {
        SchedulerTick(fx.ctx);
        fx.clock.advanceMs(200);
    }
    fx.clock.advanceMs(5000);
    try {
        RearmFiredTasks(fx.ctx);
    } catch (const ZarvoError &) {
    }
    return 0;
}
