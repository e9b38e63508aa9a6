// The real brennix-sim as a child process on a pseudo-terminal of its own, for tests that drive a
// link, a readout or a window against it.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

class simProcess {
public:
    // Starts brennix-sim with --pty and --dump in a fresh temporary folder, then the options.
    explicit simProcess(std::vector<std::string> options);
    ~simProcess();
    simProcess(const simProcess&) = delete;
    simProcess& operator=(const simProcess&) = delete;

    // The slave paths the program has printed, once it has printed `count` of them and the link
    // points at the last; empty after ten seconds without that.
    std::vector<std::string> waitForTerminal(std::size_t count = 1) const;
    // Sends SIGTERM and returns the exit status (-1 if it did not exit normally in time); the
    // dump is complete afterwards.
    int terminate();
    // The dump written at exit (empty before terminate()).
    std::string dumpText() const;

    std::string dir;      // temporary folder of this run
    std::string link;     // the symbolic link to the current slave end: open this as the port
    std::string dump;
    std::string output;   // the program's standard output
    pid_t pid = -1;
};

// Maps "COM<n>" to the simulator's link for the lifetime of the object (BRENNIX_COM<n>).
class scopedComPort {
public:
    scopedComPort(int n, const std::string& device);
    ~scopedComPort();
    scopedComPort(const scopedComPort&) = delete;
    scopedComPort& operator=(const scopedComPort&) = delete;

private:
    std::string variable;
    std::optional<std::string> previous;
};

std::string readTextFile(const std::string& path);
// Where a symbolic link points, or empty.
std::string linkTarget(const std::string& path);
