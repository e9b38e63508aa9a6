// Saving data files into real folders on Windows: names with Cyrillic letters and spaces, a file
// replaced on every save, and what a save may not replace.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "data/dataFile.h"
#include "data/wholeFile.h"
#include "tests/data/dataFileSave.h"
#include "tests/support/reportLog.h"

namespace {

namespace fs = std::filesystem;

std::wstring wide(const std::string& path) { return fs::u8path(path).wstring(); }

TEST_F(DataFileSave, EverySaveReplacesTheFileUnderItsWideName)
{
    ASSERT_TRUE(writeDataFile(target, saved, reportLog::error));
    saved.pushBack(datatest::smallCrane());
    ASSERT_TRUE(writeDataFile(target, saved, reportLog::error)) << "the second save replaces the first";
    EXPECT_EQ(readWholeFile(target), dataFileText(saved));
    EXPECT_EQ(filesInDirectory(), 1u) << "no temporary file is left behind";
    ASSERT_EQ(readDataFile(target, cranes, reportLog::error), DataFileResult::ok);
    EXPECT_EQ(cranes.count(), 2u);
    EXPECT_EQ(dataFileText(cranes), dataFileText(saved));
    EXPECT_EQ(dataFileText(saved).find('\r'), std::string::npos) << "lines end in LF, as on every platform";
    EXPECT_TRUE(reportLog::errors.empty());
}

TEST_F(DataFileSave, TheReplacedFileKeepsItsAttributes)
{
    std::ofstream(fs::u8path(target)) << "old";
    ASSERT_TRUE(SetFileAttributesW(wide(target).c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(writeDataFile(target, saved, reportLog::error));
    EXPECT_EQ(readWholeFile(target), dataFileText(saved));
    EXPECT_NE(GetFileAttributesW(wide(target).c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
}

TEST_F(DataFileSave, WhatASaveMayNotReplaceStaysAsItWas)
{
    std::ofstream(fs::u8path(target)) << "read-only";
    ASSERT_TRUE(SetFileAttributesW(wide(target).c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(writeDataFile(target, saved, reportLog::error));
    EXPECT_EQ(readWholeFile(target), "read-only");

    fs::create_directory(directory / "taken");
    EXPECT_FALSE(writeDataFile((directory / "taken").u8string(), saved, reportLog::error));
    EXPECT_FALSE(writeDataFile((directory / "missing" / "x.brx").u8string(), saved, reportLog::error));
    EXPECT_EQ(filesInDirectory(), 2u) << "no temporary file is left behind";
    EXPECT_EQ(reportLog::errors, std::vector<std::string>(3, "Ошибка при записи файла данных"));
}

TEST_F(DataFileSave, OnlyFilesOnADiskAreRead)
{
    EXPECT_FALSE(readWholeFile(directory.u8string()));
    EXPECT_FALSE(readWholeFile("NUL")) << "a device";
    EXPECT_FALSE(readWholeFile((directory / "missing.brx").u8string()));
}

// A save killed while it writes leaves its temporary file; the next save into that folder
// removes it, but not the one of a save still running.
TEST_F(DataFileSave, TemporariesOfKilledSavesDoNotPileUp)
{
    char computer[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof computer;
    ASSERT_TRUE(GetComputerNameA(computer, &size));
    // A process that has ended: this one's child, waited for.
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    wchar_t command[] = L"cmd.exe /c exit";
    ASSERT_TRUE(CreateProcessW(nullptr, command, nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                               &startup, &child));
    WaitForSingleObject(child.hProcess, INFINITE);
    const auto temporary = [&](DWORD process) {
        return directory / (".brennix-save-" + std::string(computer) + "-" + std::to_string(process) + "-0");
    };
    std::ofstream(temporary(child.dwProcessId)) << "killed";
    std::ofstream(temporary(GetCurrentProcessId())) << "this process's own";
    ASSERT_TRUE(writeDataFile(target, saved, reportLog::error));
    CloseHandle(child.hProcess);
    CloseHandle(child.hThread);
    EXPECT_FALSE(fs::exists(temporary(child.dwProcessId)));
    EXPECT_TRUE(fs::exists(temporary(GetCurrentProcessId())));
}

}  // namespace
