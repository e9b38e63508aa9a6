// The C++ runtime of the Windows build: threads, wide file names, GoogleMock.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <windows.h>

namespace fs = std::filesystem;

TEST(WindowsPlatform, ThreadsShareAMutex)
{
    std::mutex mutex;
    int count = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 1000; ++i) {
                std::lock_guard<std::mutex> lock(mutex);
                ++count;
            }
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(count, 4000);
}

TEST(WindowsPlatform, FileNamesWithCyrillicLettersAndSpaces)
{
    EXPECT_EQ(fs::path::preferred_separator, L'\\');
    const fs::path dir = fs::temp_directory_path() / fs::u8path(u8"Брённикс проба");
    fs::create_directories(dir);
    const fs::path file = dir / fs::u8path(u8"кран № 1.brx");
    {
        std::ofstream out(file, std::ios::binary);
        out << "данные";
    }
    std::ifstream in(file, std::ios::binary);
    std::string text;
    std::getline(in, text);
    EXPECT_EQ(text, "данные");
    // The same file through the wide Win32 call the program's file layer will use.
    EXPECT_NE(GetFileAttributesW(file.wstring().c_str()), INVALID_FILE_ATTRIBUTES);
    in.close();
    EXPECT_EQ(fs::remove_all(dir), 2u);
}

TEST(WindowsPlatform, MatchersWork)
{
    EXPECT_THAT((std::vector<int>{3, 1, 2}), testing::UnorderedElementsAre(1, 2, 3));
}
