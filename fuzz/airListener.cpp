#include "fuzz/airListener.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>

airListener::airListener()
{
    char pattern[] = "/tmp/brennix-air-XXXXXX";
    if (!mkdtemp(pattern))
        std::abort();
    folder = pattern;
    path = folder + "/air";
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    listener = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (listener < 0 || bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0
        || listen(listener, 16) != 0)
        std::abort();
    setenv("BRENNIX_IRDA", path.c_str(), 1);
}

airListener::~airListener()
{
    ::close(listener);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

void airListener::sweep()
{
    for (int waiting; (waiting = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC)) >= 0;)
        ::close(waiting);
}
