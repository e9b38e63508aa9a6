// The real brennix-sim as a child process on a pseudo-terminal of its own, for tests that drive a
// link, a readout or a window against it.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

// Where the program serves its device: a pseudo-terminal, or the emulated IrDA air.
enum class simLine { pty, irda };

class simProcess {
public:
    // Starts brennix-sim with --pty (or --irda) and --dump in a fresh temporary folder, then
    // the options.
    explicit simProcess(std::vector<std::string> options, simLine line = simLine::pty);
    ~simProcess();
    simProcess(const simProcess&) = delete;
    simProcess& operator=(const simProcess&) = delete;

    // The slave paths the program has printed, once it has printed `count` of them and the link
    // points at the last; empty after ten seconds without that.
    std::vector<std::string> waitForTerminal(std::size_t count = 1) const;
    // Whether the program serves the air at `air`; false after ten seconds without that.
    bool waitForAir() const;
    // Sends SIGTERM and returns the exit status (-1 if it did not exit normally in time); the
    // dump is complete afterwards.
    int terminate();
    // The dump written at exit (empty before terminate()).
    std::string dumpText() const;

    std::string dir;      // temporary folder of this run
    std::string link;     // the symbolic link to the current slave end: open this as the port
    std::string air;      // the socket of the IrDA air (simLine::irda)
    std::string dump;
    std::string output;   // the program's standard output
    pid_t pid = -1;
};

// Sets an environment variable for the lifetime of the object.
class scopedVariable {
public:
    // Sets the variable to value, or removes it when value is empty.
    scopedVariable(std::string name, const std::string& value);
    ~scopedVariable();
    scopedVariable(const scopedVariable&) = delete;
    scopedVariable& operator=(const scopedVariable&) = delete;

private:
    std::string variable;
    std::optional<std::string> previous;
};

// Maps "COM<n>" to the simulator's link for the lifetime of the object (BRENNIX_COM<n>).
class scopedComPort : public scopedVariable {
public:
    scopedComPort(int n, const std::string& device)
        : scopedVariable("BRENNIX_COM" + std::to_string(n), device)
    {
    }
};

// Points the emulated IrDA stack at the simulator's air for the lifetime of the object.
class scopedIrdaAir : public scopedVariable {
public:
    explicit scopedIrdaAir(const std::string& air) : scopedVariable("BRENNIX_IRDA", air) {}
};

std::string readTextFile(const std::string& path);
// Where a symbolic link points, or empty.
std::string linkTarget(const std::string& path);
