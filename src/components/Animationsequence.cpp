#include "Animationsequence.h"

void RunAnimationSequence(bool show, int steps, int frames,
    const std::function<void(TAnimationType, int)> &select, const std::function<void()> &pause)
{
    int current = 0;
    auto run = [&](TAnimationType phase, int step) {
        current = step;
        select(phase, step);
        pause();
    };
    if (show) {
        for (int i = 0; i <= steps + frames; ++i) {
            if (i < steps)
                run(atDraw, i);
            if (i >= frames)
                run(atErase, i - frames);
        }
    } else {
        for (int i = steps + frames - 1; i >= 0; --i) {
            if (i >= frames)
                run(atDraw, i - frames);
            if (i < steps)
                run(atErase, i);
        }
    }
    select(atErase, current);
}
