#pragma once

#include "Animationgeometry.h"

#include <functional>

// The order of draws, erases and pauses of one animation. Showing, outlines of steps 0, 1, 2 ...
// appear one after another and each is erased `frames` steps later; hiding runs the steps
// backwards. A final extra erase follows the loop with the step the loop left: when showing it
// removes the full outline that the loop's last erase drew (no draw made it), when hiding it is
// step 0, which every figure draws as nothing.
// `select` gets the phase and the current step; `pause` runs after every draw and loop erase.
void RunAnimationSequence(bool show, int steps, int frames,
    const std::function<void(TAnimationType phase, int step)> &select, const std::function<void()> &pause);
