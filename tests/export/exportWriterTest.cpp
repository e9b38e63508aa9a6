#include "export/exportWriter.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>
#include <sys/mount.h>

#include "export/stagedFiles.h"
#include "tests/support/reportLog.h"
#include "tests/support/timeZone.h"
#include "tests/view/testGraphs.h"

namespace fs = std::filesystem;

namespace {

std::unique_ptr<devLink> craneNumbered(const char* regNo, int32_t readout, int graphs)
{
    auto crane = std::make_unique<devLink>();
    crane->regNo = regNo;
    crane->timeStamp = readout;
    crane->maxWeight = 8;
    for (int g = 0; g < graphs; ++g)
        crane->graphs.pushBack(graphOf(readout - 3600, {{0, load(10)}, {9, load(120)}, {20, load(5)}}).release());
    return crane;
}

std::vector<std::string> namesOf(const std::vector<exportFile>& plan)
{
    std::vector<std::string> names;
    for (const exportFile& file : plan)
        names.push_back(file.name);
    return names;
}

std::vector<std::string> folderContents(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// A new folder of its own, removed after the test.
class ExportFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        char name[] = "/tmp/exportWriterTest-XXXXXX";
        ASSERT_NE(::mkdtemp(name), nullptr);
        folder = name;
        reportLog::clear();
    }
    void TearDown() override
    {
        if (mounted)
            ::umount2(folder.c_str(), MNT_DETACH);
        fs::remove_all(folder);
    }
    // A small file system of its own at the folder; false where mounting is not allowed.
    bool mountSmall(unsigned long flags)
    {
        mounted = ::mount("tmpfs", folder.c_str(), "tmpfs", flags, "size=64k") == 0;
        return mounted;
    }

    std::string folder;
    bool mounted = false;
    ScopedTimeZone zone{"UTC"};
};

TEST(exportPlan, FilesNamedByCraneNumberAndReadoutDate)
{
    ScopedTimeZone zone("UTC");
    SKIP_UNLESS_IN_ZONE(zone);
    const auto first = craneNumbered("12/7", 1710411600, 2);
    const auto same = craneNumbered("12/7", 1710415000, 1);   // the same crane, the same day
    const auto unnamed = craneNumbered("", 1710415000, 0);
    unnamed->serNo = " \xC7\xE0\xE2:5 ";   // "Зав:5" in Windows-1251
    exportChoice choice;
    choice.csv = choice.summary = choice.html = choice.pdf = true;
    EXPECT_EQ(namesOf(exportPlan({first.get(), same.get(), unnamed.get()}, choice)),
              (std::vector<std::string>{"12-7_2024-03-14.html", "12-7_2024-03-14.pdf",
                                        "12-7_2024-03-14_график_01.csv", "12-7_2024-03-14_график_02.csv",
                                        "12-7_2024-03-14_2.html", "12-7_2024-03-14_2.pdf",
                                        "12-7_2024-03-14_2_график_01.csv", "Зав-5_2024-03-14.html",
                                        "Зав-5_2024-03-14.pdf", "сводка.csv"}));
    const auto none = craneNumbered("", 0, 0);
    EXPECT_EQ(craneFileStem(*none), "кран_1970-01-01");
}

TEST_F(ExportFolder, WritesAllFilesAndNoTemporaries)
{
    const auto crane = craneNumbered("5", 1710411600, 2);
    exportChoice choice;
    choice.csv = choice.summary = choice.html = true;
    const std::vector<const devLink*> cranes{crane.get()};
    const std::vector<exportFile> plan = exportPlan(cranes, choice);
    ASSERT_TRUE(writeExport(folder, plan, cranes, choice, nullptr, reportLog::error));
    EXPECT_EQ(folderContents(folder), (std::vector<std::string>{"5_2024-03-14.html", "5_2024-03-14_график_01.csv",
                                                                "5_2024-03-14_график_02.csv", "сводка.csv"}));
    EXPECT_TRUE(reportLog::errors.empty());
    EXPECT_EQ(existingFiles(folder, plan).size(), 4u);
}

// A PDF that its writer fails to write leaves nothing, neither it nor the files before it.
TEST_F(ExportFolder, AFailedPdfLeavesNothing)
{
    const auto crane = craneNumbered("5", 1710411600, 1);
    exportChoice choice;
    choice.html = choice.pdf = true;
    const std::vector<const devLink*> cranes{crane.get()};
    const pdfWriter failing = [](const exportFile&, const std::string& path) {
        std::ofstream(path) << "%PDF-1.5 half";
        errno = ENOSPC;
        return false;
    };
    EXPECT_FALSE(writeExport(folder, exportPlan(cranes, choice), cranes, choice, failing, reportLog::error));
    EXPECT_TRUE(folderContents(folder).empty());
    ASSERT_EQ(reportLog::errors.size(), 1u);
    EXPECT_EQ(reportLog::errors[0],
              "Экспорт не выполнен: не удалось записать «5_2024-03-14.pdf» в папку «" + folder +
                  "» (нет места на диске). Ни один файл не сохранён.");
}

TEST_F(ExportFolder, FullDiskLeavesNothingHalfWritten)
{
    if (!mountSmall(0))
        GTEST_SKIP() << "no permission to mount a small file system";
    // A graph of 12,000 points: its CSV of some 500 kB does not fit into 64 kB.
    std::ofstream(folder + "/5_2024-03-14_график_01.csv") << "the old export";
    const auto crane = craneNumbered("5", 1710411600, 0);
    auto* big = new cycLink;
    big->timeStamp = 1710400000;
    for (int p = 0; p < 12000; ++p)
        big->Points.insert(big->Points.end(), {uint8_t(p >> 8), uint8_t(p), uint8_t(0x80 | (p % 100))});
    big->Npoints = 12000;
    big->decodePoints();
    crane->graphs.pushBack(big);
    exportChoice choice;
    choice.csv = true;
    const std::vector<const devLink*> cranes{crane.get()};
    EXPECT_FALSE(writeExport(folder, exportPlan(cranes, choice), cranes, choice, nullptr, reportLog::error));
    EXPECT_EQ(folderContents(folder), std::vector<std::string>{"5_2024-03-14_график_01.csv"});
    std::ifstream old(folder + "/5_2024-03-14_график_01.csv");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(old), {}), "the old export");
    ASSERT_EQ(reportLog::errors.size(), 1u);
    EXPECT_NE(reportLog::errors[0].find("(нет места на диске)"), std::string::npos) << reportLog::errors[0];
}

TEST_F(ExportFolder, UnwritableFolderAndFolderInAFilesPlace)
{
    const auto crane = craneNumbered("5", 1710411600, 1);
    exportChoice choice;
    choice.html = choice.summary = true;
    const std::vector<const devLink*> cranes{crane.get()};
    const std::vector<exportFile> plan = exportPlan(cranes, choice);

    fs::create_directory(folder + "/сводка.csv");
    EXPECT_FALSE(writeExport(folder, plan, cranes, choice, nullptr, reportLog::error));
    EXPECT_EQ(folderContents(folder), std::vector<std::string>{"сводка.csv"});
    fs::remove(folder + "/сводка.csv");

    EXPECT_FALSE(writeExport(folder + "/missing", plan, cranes, choice, nullptr, reportLog::error));

    if (mountSmall(MS_RDONLY)) {
        EXPECT_FALSE(writeExport(folder, plan, cranes, choice, nullptr, reportLog::error));
        EXPECT_TRUE(folderContents(folder).empty());
    }
    ASSERT_GE(reportLog::errors.size(), 2u);
    EXPECT_NE(reportLog::errors[0].find("«сводка.csv» в папку «" + folder +
                                   "» (на месте файла находится папка с тем же именем)"),
              std::string::npos)
        << reportLog::errors[0];
    EXPECT_EQ(reportLog::errors[1], "Экспорт не выполнен: папка «" + folder +
                                   "/missing» недоступна (папка не существует). Ни один файл не сохранён.");
    if (mounted) {
        EXPECT_NE(reportLog::errors[2].find("(диск доступен только для чтения)"), std::string::npos)
            << reportLog::errors[2];
    }
}

}  // namespace
