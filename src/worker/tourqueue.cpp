#include "tourqueue.h"

void TourQueue::post(std::function<void()> send)
{
    pending.enqueue(std::move(send));
    if (sending)
        return;
    sending = true;
    while (!pending.isEmpty())
        pending.dequeue()();
    sending = false;
}

void TourQueue::clear()
{
    pending.clear();
}
