#ifndef PACEDWAIT_H
#define PACEDWAIT_H

// Waits ms milliseconds on a monotonic clock while dispatching the GUI
// thread's events (at most 100 ms per dispatch, 1 ms sleep between), so the
// interface stays alive. Nothing happens for ms <= 0. Every wait of the
// console goes through here.
void pacedWait(int ms);

#endif // PACEDWAIT_H
