#include "system/system_record_place.h"
#include "system/windows_directory.h"

#include <gtest/gtest.h>

#include <windows.h>

#include "windows_files.h"

namespace brivana {
namespace {

using windows_test::Environment;

TEST(WindowsDirectory, IsTheSystemsWindowsDirectoryWithOneTrailingBackslash)
{
    const std::string windir = Environment("windir");
    ASSERT_FALSE(windir.empty());
    const std::optional<std::string> dir = WindowsDirectory();
    ASSERT_TRUE(dir.has_value());
    EXPECT_TRUE(CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, dir->c_str(), -1, (windir + "\\").c_str(), -1) ==
                CSTR_EQUAL)
        << *dir << " is not " << windir << "\\";
    ASSERT_GE(dir->size(), 2u);
    EXPECT_EQ(dir->back(), '\\');
    EXPECT_NE((*dir)[dir->size() - 2], '\\');
}

TEST(WindowsDirectory, IsWhereTheRecordIsKeptWhenItCanBeWritten)
{
    if (!windows_test::InThrowawayWinePrefix())
        GTEST_SKIP() << "probes the Windows directory only in a throw-away Wine prefix";
    SystemRecordPlace place;
    const RecordLocation location = place.locate();
    EXPECT_EQ(location.dir, WindowsDirectory().value());
    EXPECT_EQ(location.notice, "");
    // The probe that found the directory writable is gone again.
    EXPECT_TRUE(windows_test::FilesMatching(location.dir, "brivana-*").empty());
}

TEST(WindowsDirectory, GivesWayToTheInstallersSharedFolderWhereThatExists)
{
    if (!windows_test::InThrowawayWinePrefix())
        GTEST_SKIP() << "makes the installer's folder only in a throw-away Wine prefix";
    const std::string shared = Environment("ProgramData") + "\\Brivana\\";
    ASSERT_TRUE(CreateDirectoryA(shared.c_str(), nullptr)) << shared;
    EXPECT_EQ(SharedRecordDirectory(), shared);
    const RecordLocation location = SystemRecordPlace().locate();
    // Closed to this game (no record service, say): still the class's record, shown, not saved.
    const RecordLocation closed =
        SystemRecordPlace(shared, UserRecordDirectory(), [](const std::string&) { return false; }).locate();
    RemoveDirectoryA(shared.c_str());
    EXPECT_EQ(closed.dir, shared);
    EXPECT_NE(closed.notice.find("non potrà essere salvato"), std::string::npos) << closed.notice;
    EXPECT_EQ(location.dir, shared);
    EXPECT_EQ(location.notice, "");
    EXPECT_EQ(SharedRecordDirectory(), WindowsDirectory().value());
}

TEST(UserRecordDirectory, IsBrivanaInTheLocalApplicationData)
{
    const std::string localAppData = Environment("LOCALAPPDATA");
    ASSERT_FALSE(localAppData.empty());
    EXPECT_EQ(UserRecordDirectory(), localAppData + "\\Brivana\\");
}

}  // namespace
}  // namespace brivana
