#pragma once

// The file descriptor of the X display connection the window's events arrive on, for a sleep
// that input must end at once; -1 under a video driver without one (the dummy driver of the
// tests). Kept apart: the X headers' names clash with the engine's own (Font).
int DisplayConnection();
