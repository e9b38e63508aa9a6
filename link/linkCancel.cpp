#include "link/linkCancel.h"

#include <algorithm>
#include <thread>

bool linkCancel::requested()
{
    if (!stop && ask)
        stop = ask();
    return stop;
}

int linkCancel::waitUntil(linkClock::time_point deadline, const std::function<int(int)>& waitFor)
{
    for (;;) {
        if (stop)
            return 0;
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - linkClock::now());
        const auto slice = std::clamp(left, std::chrono::milliseconds(0), waitSlice);
        const int ready = waitFor(static_cast<int>(slice.count()));
        if (ready != 0 || linkClock::now() >= deadline || requested())
            return ready;
    }
}

void linkCancel::sleepUntil(linkClock::time_point deadline)
{
    waitUntil(deadline, [](int milliseconds) {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
        return 0;
    });
}
