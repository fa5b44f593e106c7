#ifndef TOURQUEUE_H
#define TOURQUEUE_H

#include <QQueue>

#include <functional>

// Sends tour steps one after the other in the GUI thread. Sending waits with
// events running, so a step can arrive while another is still going out; it
// then waits its turn instead of nesting inside the first one's wait.
class TourQueue
{
public:
    void post(std::function<void()> send);
    void clear();

private:
    QQueue<std::function<void()>> pending;
    bool sending = false;
};

#endif // TOURQUEUE_H
