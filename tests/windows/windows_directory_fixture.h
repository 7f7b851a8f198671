#pragma once
// Tests that keep the record in Wine's Windows directory. They refuse to run where a record
// is already kept there, and remove every file they made there when they end.

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "game/record_store.h"
#include "system/windows_directory.h"
#include "windows_files.h"

namespace brivana::windows_test {

class WindowsDirectoryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!InThrowawayWinePrefix())
            GTEST_SKIP() << "writes in the Windows directory only in a throw-away Wine prefix";
        ASSERT_TRUE(WindowsDirectory().has_value());
        dir_ = *WindowsDirectory();
        ASSERT_TRUE(OurFiles().empty()) << "the Windows directory " << dir_
                                        << " already holds record files: run in a throw-away WINEPREFIX";
        cleanUp_ = true;
    }

    void TearDown() override
    {
        if (!cleanUp_) return;
        // A lock wait a save gave up on at its deadline may still hold the lock file open for a
        // moment after it is granted and lets go; the file can be removed once it has.
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!OurFiles().empty() && std::chrono::steady_clock::now() < giveUp) {
            for (const std::string& name : OurFiles()) RemoveFile(dir_ + name);
            if (!OurFiles().empty()) std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        EXPECT_TRUE(OurFiles().empty());
    }

    // The record files, the lock and any temporary file of a save, as they are named in dir_.
    std::vector<std::string> OurFiles() const
    {
        std::vector<std::string> names;
        for (const char* pattern : {"briv2s.txt*", "nbriv2s.txt*", "brivana.lock", "brivana.commit", "brivana-*.tmp"})
            for (std::string& name : FilesMatching(dir_, pattern)) names.push_back(std::move(name));
        return names;
    }

    // A file of dir_ addressed with the single backslash that the system itself uses.
    std::string plainPath(const std::string& name) const { return dir_ + name; }

    std::string dir_;

private:
    bool cleanUp_ = false;
};

}  // namespace brivana::windows_test
