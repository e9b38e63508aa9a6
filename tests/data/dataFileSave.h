// A fresh folder for saving data files into, named with Cyrillic letters and spaces, as is the
// file the tests save.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "data/aList.h"
#include "tests/data/dataFileCranes.h"
#include "tests/support/reportLog.h"

class DataFileSave : public ::testing::Test {
protected:
    void SetUp() override
    {
        reportLog::errors.clear();
        const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
        directory = std::filesystem::temp_directory_path() / std::filesystem::u8path("Брённикс сохранение " + std::to_string(now));
        std::filesystem::create_directories(directory);
        target = (directory / std::filesystem::u8path("кран № 1.brx")).u8string();
        saved.pushBack(datatest::smallCrane());
    }
    void TearDown() override
    {
        // A read-only file stops the removal on Windows.
        std::error_code ignored;
        std::filesystem::permissions(std::filesystem::u8path(target), std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(directory);
    }

    std::size_t filesInDirectory() const
    {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(directory), {}));
    }

    std::filesystem::path directory;
    std::string target;
    aList saved;
    aList cranes;
};
