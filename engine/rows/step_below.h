#pragma once
// A double stepped by a fixed amount frame after frame, as the song time is.

// Does `while (count < limit && x < stop) { x += step; ++count; }` and returns
// count, with every x exactly what that loop gives, but without a step per
// frame wherever the sums stay inside one binade. Any thread.
int stepBelow(double& x, double step, double stop, int limit);
