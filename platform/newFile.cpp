#include "platform/newFile.h"

#include <cerrno>

newFile::~newFile() { close(); }

bool newFile::fail(int error)
{
    err = error != 0 ? error : EIO;
    return false;
}
