#ifndef PACEDWAIT_H
#define PACEDWAIT_H

#include <functional>

// Whether a command being sent may go on; asked before each frame and
// during the waits after them. An empty one always says yes.
using SendGuard = std::function<bool()>;

// Waits ms milliseconds on a monotonic clock while dispatching the GUI
// thread's events (at most 100 ms per dispatch, 1 ms sleep between), so the
// interface stays alive. Nothing happens for ms <= 0. The wait ends early
// once goOn says no. Every wait of the console goes through here.
void pacedWait(int ms, const SendGuard &goOn = {});

#endif // PACEDWAIT_H
