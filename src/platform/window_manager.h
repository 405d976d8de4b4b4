#pragma once
// Whether a window manager runs: only one can minimize a window or move it
// for us; without one (a bare X server, the offscreen platform) such a
// request changes nothing.

bool WindowManagerRunning();
