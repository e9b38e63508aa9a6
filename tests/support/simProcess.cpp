#include "tests/support/simProcess.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>
#include <utility>

extern char** environ;

namespace {

// A bound on waiting for the program, so that a broken build fails instead of hanging.
constexpr auto patience = std::chrono::seconds(10);

}  // namespace

std::string linkTarget(const std::string& path)
{
    char target[PATH_MAX];
    const ssize_t n = readlink(path.c_str(), target, sizeof target);
    return n > 0 ? std::string(target, static_cast<std::size_t>(n)) : std::string();
}

std::string readTextFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

simProcess::simProcess(std::vector<std::string> options, simLine line)
{
    char pattern[] = "/tmp/brennix-sim-testXXXXXX";
    if (mkdtemp(pattern) == nullptr)
        return;
    dir = pattern;
    link = dir + "/ttySIM";
    dump = dir + "/dump.txt";
    output = dir + "/stdout.txt";
    air = dir + "/air";
    if (line == simLine::irda)
        options.insert(options.begin(), {BRENNIX_SIM_PATH, "--irda", air, "--dump", dump});
    else
        options.insert(options.begin(), {BRENNIX_SIM_PATH, "--pty", link, "--dump", dump});
    std::vector<char*> argv;
    for (auto& o : options)
        argv.push_back(o.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (posix_spawn(&pid, argv[0], &files, nullptr, argv.data(), environ) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&files);
}

simProcess::~simProcess()
{
    if (pid > 0) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    if (dir.empty())
        return;
    unlink(link.c_str());
    unlink(air.c_str());
    unlink(dump.c_str());
    unlink(output.c_str());
    rmdir(dir.c_str());
}

std::vector<std::string> simProcess::waitForTerminal(std::size_t count) const
{
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (std::chrono::steady_clock::now() < deadline) {
        std::vector<std::string> paths;
        std::istringstream lines(readTextFile(output));
        for (std::string line; std::getline(lines, line);)
            paths.push_back(line);
        if (paths.size() >= count && linkTarget(link) == paths.back())
            return paths;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return {};
}

bool simProcess::waitForAir() const
{
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (std::chrono::steady_clock::now() < deadline) {
        if (readTextFile(output) == air + "\n")
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

int simProcess::terminate()
{
    if (pid <= 0)
        return -1;
    kill(pid, SIGTERM);
    const auto deadline = std::chrono::steady_clock::now() + patience;
    int status = 0;
    while (std::chrono::steady_clock::now() < deadline) {
        if (waitpid(pid, &status, WNOHANG) == pid) {
            pid = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return -1;
}

std::string simProcess::dumpText() const { return readTextFile(dump); }

scopedVariable::scopedVariable(std::string name, const std::string& value)
    : variable(std::move(name))
{
    if (const char* old = std::getenv(variable.c_str()))
        previous = old;
    if (value.empty())
        unsetenv(variable.c_str());
    else
        setenv(variable.c_str(), value.c_str(), 1);
}

scopedVariable::~scopedVariable()
{
    if (previous)
        setenv(variable.c_str(), previous->c_str(), 1);
    else
        unsetenv(variable.c_str());
}
