// The user's wish to stop a link operation, as the link's waits see it. Every wait of a transport
// runs in slices of at most waitSlice and asks between them, so that a window can keep its Cancel
// button working while the link waits, and a cancel ends the wait within a slice.
#pragma once

#include <chrono>
#include <functional>

using linkClock = std::chrono::steady_clock;

constexpr std::chrono::milliseconds waitSlice{100};

class linkCancel {
public:
    // Asked while the link waits: true when the operation is to stop. The program's window
    // answers it after taking the input that has come meanwhile.
    using Check = std::function<bool()>;

    void setCheck(Check check) { ask = std::move(check); }

    // Whether the operation is to stop: asks the check, until it has once said so.
    bool requested();
    // Whether the check has said so already; asks nothing.
    bool stopped() const { return stop; }

    // Runs waitFor(milliseconds), a wait of at most that long that gives 1 when ready, 0 when
    // not and -1 on a failure, slice by slice until it gives 1 or -1, or gives 0 once the
    // deadline has come or the operation is to stop.
    int waitUntil(linkClock::time_point deadline, const std::function<int(int)>& waitFor);
    // Sleeps until the deadline, or less when the operation is to stop.
    void sleepUntil(linkClock::time_point deadline);

private:
    Check ask;
    bool stop = false;
};
