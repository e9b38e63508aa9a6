// The emulated IrDA air (link/irdaSocketsEmulated.cpp) as the IrDA fuzzers serve it: a listening
// Unix socket in a fresh temporary folder, named by BRENNIX_IRDA for the link's stack. A
// scriptedPeer answers the connection the stack makes.
#pragma once

#include <string>

class airListener {
public:
    airListener();
    ~airListener();
    airListener(const airListener&) = delete;
    airListener& operator=(const airListener&) = delete;

    int fd() const { return listener; }
    // Closes every connection still waiting to be answered, so that the next run starts clean.
    void sweep();

private:
    std::string folder;
    std::string path;
    int listener = -1;
};
