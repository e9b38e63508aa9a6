// The pseudo-terminal a device is served on. The host reaches it through a symlink to the slave
// side, which exists only while the device is ready to answer.
#pragma once

#include <string>

class ptyLine {
public:
    explicit ptyLine(std::string linkPath) : linkPath(std::move(linkPath)) {}
    ~ptyLine();
    ptyLine(const ptyLine&) = delete;
    ptyLine& operator=(const ptyLine&) = delete;

    // Closes the present terminal, if any (the host sees a hang-up), opens a fresh one in raw
    // mode and points the symlink at its slave (replacing a symlink, never another kind of
    // file). False, with the reason in error, on failure.
    bool open(std::string& error);

    // Waits, at most about two seconds, until the host has read what was sent: closing the
    // terminal discards the bytes still waiting on the slave side.
    void awaitHostRead() const;

    int fd() const { return master; }
    const std::string& slavePath() const { return slave; }

private:
    void close();

    std::string linkPath;
    std::string slave;
    int master = -1;
};
