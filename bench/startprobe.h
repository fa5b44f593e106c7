#ifndef STARTPROBE_H
#define STARTPROBE_H

class QWidget;

// What the start-up benchmark's child programs share. The driver measures
// each child from process start to exit; the child quits as soon as its
// window is on screen and reports its own peak memory.

// Quits the application on the first expose of window's native window, once
// the paint that the expose brings is done.
void quitWhenExposed(QWidget *window);

// Prints "peak_rss_kb <n>" on standard output: the process's peak resident
// memory so far, in KiB (-1 when the system cannot tell).
void printPeakMemory();

#endif // STARTPROBE_H
