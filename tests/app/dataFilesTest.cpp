#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>
#include <unistd.h>

#include "app/dataFiles.h"

namespace fs = std::filesystem;

namespace {

// A run directory (the working directory during the test) and an installed data folder.
class DataFiles : public testing::Test {
protected:
    void SetUp() override
    {
        root = fs::temp_directory_path() / ("brennix-data-" + std::to_string(::getpid()));
        fs::create_directories(root / "run/bmps");
        fs::create_directories(root / "installed/bmps/folder.png");
        for (const char* file : {"run/bmps/both.png", "installed/bmps/both.png", "installed/bmps/installed.png"})
            std::ofstream(root / file) << "png";
        before = fs::current_path();
        fs::current_path(root / "run");
    }
    void TearDown() override
    {
        fs::current_path(before);
        fs::remove_all(root);
    }
    fs::path root, before;
};

TEST_F(DataFiles, RunDirectoryFirstThenTheInstalledFolderElseTheNameAsGiven)
{
    const fs::path installed = root / "installed";
    EXPECT_EQ(dataFile("bmps/both.png", installed), "bmps/both.png") << "a build's run directory wins";
    EXPECT_EQ(dataFile("bmps/installed.png", installed), (installed / "bmps/installed.png").string());
    EXPECT_EQ(dataFile("bmps/missing.png", installed), "bmps/missing.png");
    EXPECT_EQ(dataFile("bmps/folder.png", installed), "bmps/folder.png") << "only a file counts";
    EXPECT_EQ(dataFile("bmps/installed.png", fs::path()), "bmps/installed.png")
        << "no installed folder where the program's path is unknown";
}

}  // namespace
