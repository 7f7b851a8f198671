#include "system/lab_setting.h"
#include "system/lab_setting_windows.h"
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

TEST(LabRecordFolder, IsTheAdministratorsFromTheRegistryAPolicyWinning)
{
    if (!windows_test::InThrowawayWinePrefix())
        GTEST_SKIP() << "writes the machine's registry only in a throw-away Wine prefix";
    struct Row {
        const wchar_t* policy;
        const wchar_t* installer;
        std::string lab;  // empty: the record stays on this computer
        bool explained;   // the administrator is told why the setting is not followed
    };
    for (const Row& row : {Row{nullptr, nullptr, "", false},
                           Row{nullptr, L"\\\\server\\share\\brivana", "\\\\server\\share\\brivana\\", false},
                           Row{L"\\\\gpo\\lab\\", L"\\\\server\\share\\brivana", "\\\\gpo\\lab\\", false},
                           Row{L"  ", L" \\\\server\\aula3 ", "\\\\server\\aula3\\", false},
                           Row{L"brivana", L"\\\\server\\share\\brivana", "", true}}) {
        for (const auto& [key, value] : {std::pair{kLabSettingPolicyKey, row.policy}, {kLabSettingInstallerKey, row.installer}})
            if (value) RegSetKeyValueW(HKEY_LOCAL_MACHINE, key, kLabSettingValue, REG_SZ, value, (wcslen(value) + 1) * 2);
        std::string why;
        EXPECT_EQ(LabRecordDirectory(why), row.lab);
        EXPECT_EQ(why.empty(), !row.explained) << why;
        for (const wchar_t* key : {kLabSettingPolicyKey, kLabSettingInstallerKey}) RegDeleteTreeW(HKEY_LOCAL_MACHINE, key);
    }
}

TEST(UserRecordDirectory, IsBrivanaInTheLocalApplicationData)
{
    const std::string localAppData = Environment("LOCALAPPDATA");
    ASSERT_FALSE(localAppData.empty());
    EXPECT_EQ(UserRecordDirectory(), localAppData + "\\Brivana\\");
}

}  // namespace
}  // namespace brivana
