// Saving data files into real folders on POSIX, with the failures a disk or a path can cause.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "data/dataFile.h"
#include "data/wholeFile.h"
#include "tests/data/dataFileSave.h"
#include "tests/support/reportLog.h"

namespace {

namespace fs = std::filesystem;

TEST_F(DataFileSave, ReplacesTheFileAndKeepsItsPermissions)
{
    std::ofstream(target) << "old";
    ::chmod(target.c_str(), 0640);
    ASSERT_TRUE(writeDataFile(target, saved, reportLog::error));
    EXPECT_EQ(readWholeFile(target), dataFileText(saved));
    EXPECT_EQ(fs::status(target).permissions(), fs::perms(0640));
    EXPECT_EQ(filesInDirectory(), 1u);
    ASSERT_EQ(readDataFile(target, cranes, reportLog::error), DataFileResult::ok);
    EXPECT_EQ(dataFileText(cranes), dataFileText(saved));
    EXPECT_TRUE(reportLog::errors.empty());
}

TEST_F(DataFileSave, AFailedSaveLeavesTheOldFileWhole)
{
    std::ofstream(target) << "old contents";
    // A disk that fills up while writing: the size limit makes the writes fail.
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit oldLimit;
    ::getrlimit(RLIMIT_FSIZE, &oldLimit);
    rlimit small = oldLimit;
    small.rlim_cur = 100;
    ::setrlimit(RLIMIT_FSIZE, &small);
    const bool written = writeDataFile(target, saved, reportLog::error);
    ::setrlimit(RLIMIT_FSIZE, &oldLimit);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(written);

    fs::create_directory(directory / "taken");
    EXPECT_FALSE(writeDataFile((directory / "taken").string(), saved, reportLog::error));
    EXPECT_FALSE(writeDataFile((directory / "missing" / "x.brx").string(), saved, reportLog::error));

    EXPECT_EQ(readWholeFile(target), "old contents");
    EXPECT_EQ(filesInDirectory(), 2u);  // no temporary file is left behind
    EXPECT_EQ(reportLog::errors, std::vector<std::string>(3, "Ошибка при записи файла данных"));
}

// What a save may replace: a regular file the user may write, through its links, keeping its
// permissions and owner; anything else stays as it was and the save reports the write error.
TEST_F(DataFileSave, ReplacesOnlyWhatTheUserMayWrite)
{
    const std::string text = dataFileText(saved);
    std::ofstream(target) << "read-only";
    ::chmod(target.c_str(), 0444);
    EXPECT_FALSE(writeDataFile(target, saved, reportLog::error));
    EXPECT_EQ(readWholeFile(target), "read-only");

    const std::string linked = (directory / "linked.brx").string();
    std::ofstream(linked) << "old";
    ::chmod(linked.c_str(), 0640);
    fs::create_symlink("linked.brx", directory / "link.brx");
    ASSERT_TRUE(writeDataFile((directory / "link.brx").string(), saved, reportLog::error));
    EXPECT_TRUE(fs::is_symlink(directory / "link.brx"));
    EXPECT_EQ(readWholeFile(linked), text);
    EXPECT_EQ(fs::status(linked).permissions(), fs::perms(0640));

    if (::geteuid() == 0) {   // files of another user: only the administrator can make them
        const uid_t other = 65534;
        const std::string theirs = (directory / "theirs.brx").string();
        const std::string shared = (directory / "shared.brx").string();
        std::ofstream(theirs) << "theirs";
        std::ofstream(shared) << "shared";
        ::chmod(shared.c_str(), 0666);
        ASSERT_EQ(::chown(theirs.c_str(), other, other), 0);
        ASSERT_EQ(::chown(shared.c_str(), other, other), 0);
        EXPECT_FALSE(writeDataFile(theirs, saved, reportLog::error)) << "only its owner may write it";
        EXPECT_EQ(readWholeFile(theirs), "theirs");
        ASSERT_TRUE(writeDataFile(shared, saved, reportLog::error));
        struct stat info;
        ASSERT_EQ(::stat(shared.c_str(), &info), 0);
        EXPECT_EQ(info.st_uid, other);
        EXPECT_EQ(info.st_mode & 07777, 0666u);
    }
    EXPECT_EQ(reportLog::errors,
              std::vector<std::string>(::geteuid() == 0 ? 2 : 1, "Ошибка при записи файла данных"));
}

// A save killed while it writes leaves its temporary file; the next save into that folder
// removes it, but not the one of a save still running.
TEST_F(DataFileSave, TemporariesOfKilledSavesDoNotPileUp)
{
    // A child that the file size limit stops in the middle of its save: killed, or halted alive.
    const auto saveStoppedInTheMiddle = [this](bool kill) {
        const pid_t child = ::fork();
        if (child == 0) {
            std::signal(SIGXFSZ, SIG_DFL);
            if (!kill)
                std::signal(SIGXFSZ, [](int) { ::raise(SIGSTOP); });
            rlimit limits{0, 0};   // no core file
            ::setrlimit(RLIMIT_CORE, &limits);
            limits = {100, 100};
            ::setrlimit(RLIMIT_FSIZE, &limits);
            writeDataFile(target, saved, reportLog::error);
            ::_exit(0);
        }
        int status = 0;
        ::waitpid(child, &status, WUNTRACED);
        EXPECT_TRUE(kill ? WIFSIGNALED(status) : WIFSTOPPED(status));
        return child;
    };
    saveStoppedInTheMiddle(true);
    ASSERT_EQ(filesInDirectory(), 1u) << "the killed save's temporary file";
    ASSERT_TRUE(writeDataFile(target, saved, reportLog::error));
    EXPECT_EQ(filesInDirectory(), 1u) << "the target alone";

    const pid_t halted = saveStoppedInTheMiddle(false);
    EXPECT_EQ(filesInDirectory(), 2u);
    EXPECT_TRUE(writeDataFile(target, saved, reportLog::error));
    EXPECT_EQ(filesInDirectory(), 2u) << "the halted save's temporary file stays";
    ::kill(halted, SIGKILL);
    ::waitpid(halted, nullptr, 0);
    EXPECT_TRUE(writeDataFile(target, saved, reportLog::error));
    EXPECT_EQ(filesInDirectory(), 1u);
}

// The size of this process's data segment (VmData, which includes a sanitizer's reservations).
rlim_t dataSegmentBytes()
{
    std::ifstream status("/proc/self/status");
    std::string field;
    rlim_t kilobytes = 0;
    while (status >> field && field != "VmData:")
        status.ignore(4096, '\n');
    status >> kilobytes;
    return kilobytes * 1024;
}

// Only regular files are read: a FIFO without a writer and an endless device give the read
// error at once. Run in a child, so that a reader that waits or grows for ever ends the test.
TEST_F(DataFileSave, OnlyRegularFilesAreRead)
{
    const std::string fifo = (directory / "fifo.brx").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        ::alarm(20);
        rlimit memory{dataSegmentBytes() + (1u << 30), RLIM_INFINITY};   // 1 GB more at most
        ::setrlimit(RLIMIT_DATA, &memory);
        aList read;
        const bool refused = readDataFile(fifo, read, reportLog::error) == DataFileResult::readError &&
                             readDataFile("/dev/zero", read, reportLog::error) == DataFileResult::readError;
        ::_exit(refused ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
}

}  // namespace
