#pragma once

#include <functional>

// When the desktop session ends (logout, shutdown) or the program is sent
// SIGTERM or SIGHUP, what the user typed must not be lost: `save` writes
// the pending edits (a date still being typed in its box included, when it
// names a date), without showing any window, and the program then ends
// as "    Izlaz    " would. Install once, after the main window is built.
namespace termination {

void install(std::function<void()> save);

} // namespace termination
