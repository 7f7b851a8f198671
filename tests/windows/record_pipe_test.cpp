#include "system/record_pipe_windows.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "game/keeper_requests.h"
#include "game/record_store.h"
#include "system/owned_handle_windows.h"
#include "system/system_file_access.h"
#include "system/system_record_place.h"
#include "system/record_security_windows.h"
#include "system/register_security_windows.h"
#include "system/register_stamps.h"
#include "system/wide_text_windows.h"
#include "fake_services.h"
#include "windows_files.h"

namespace brivana::windows_test {
namespace {

using namespace std::chrono_literals;

// Opens the pipe with access, waiting up to wait for a free instance.
HANDLE OpenPipe(const std::wstring& name, DWORD access, DWORD wait = 1000)
{
    HANDLE pipe = CreateFileW(name.c_str(), access, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (pipe == INVALID_HANDLE_VALUE && GetLastError() == ERROR_PIPE_BUSY && WaitNamedPipeW(name.c_str(), wait))
        pipe = CreateFileW(name.c_str(), access, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    return pipe;
}

// Runs this test program again as processes of one pupil, each keeping connections on pipe
// (reconnecting whenever the service cuts one) for a few seconds; returns once all hold some.
class PupilProcesses {
public:
    PupilProcesses(const std::wstring& pipe, int count)
    {
        const std::wstring ready = L"BrivanaPupilReady-" + std::to_wstring(GetCurrentProcessId());
        const OwnedKernel connected(CreateSemaphoreW(nullptr, 0, count, ready.c_str()));
        wchar_t program[MAX_PATH];
        GetModuleFileNameW(nullptr, program, MAX_PATH);
        SetEnvironmentVariableW(L"BRIVANA_PUPIL_PIPE", pipe.c_str());
        SetEnvironmentVariableW(L"BRIVANA_PUPIL_READY", ready.c_str());
        for (int i = 0; i < count; ++i) {
            std::wstring command = L"\"" + std::wstring(program) + L"\" --gtest_filter=PupilProcess.*";
            STARTUPINFOW startup{};
            startup.cb = sizeof startup;
            PROCESS_INFORMATION started{};
            if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                &started))
                continue;
            OwnedKernel thread(started.hThread);
            processes_.emplace_back(started.hProcess);
        }
        SetEnvironmentVariableW(L"BRIVANA_PUPIL_PIPE", nullptr);
        SetEnvironmentVariableW(L"BRIVANA_PUPIL_READY", nullptr);
        for (std::size_t i = 0; i < processes_.size(); ++i) WaitForSingleObject(connected.get(), 30000);
    }
    ~PupilProcesses()
    {
        for (const OwnedKernel& process : processes_) WaitForSingleObject(process.get(), 30000);
    }

private:
    std::vector<OwnedKernel> processes_;
};

// Connections a pupil's own program keeps open on the pipe, closed when it ends.
class Attack {
public:
    ~Attack()
    {
        for (HANDLE pipe : pipes_) CloseHandle(pipe);
    }
    // Connects and sends bytes; false when no connection could be made within wait.
    bool connect(const std::wstring& name, const std::string& bytes = {}, DWORD wait = 1000)
    {
        const HANDLE pipe = OpenPipe(name, GENERIC_READ | GENERIC_WRITE, wait);
        if (pipe == INVALID_HANDLE_VALUE) return false;
        pipes_.push_back(pipe);
        DWORD written = 0;
        return bytes.empty() || WriteFile(pipe, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    }
    std::size_t count() const { return pipes_.size(); }

    std::optional<PupilProcesses> pupils;

private:
    std::vector<HANDLE> pipes_;
};

struct HostileClient {
    const char* what;
    std::function<void(Attack&, const std::wstring& pipe)> start;
    // A user of his own, which the service tells apart from the game's only where Windows does
    // (Wine runs every process as one user).
    bool ownUser = false;
};

const HostileClient kHostileClients[] = {
    {"garbage", [](Attack& a, const std::wstring& p) { a.connect(p, "GET / HTTP/1.0\r\n\r\n"); a.connect(p, FrameOf("X??")); }},
    {"half a request", [](Attack& a, const std::wstring& p) { a.connect(p, FrameOf(EncodeSaveRequest("99", "Zeta")).substr(0, 9)); }},
    {"a huge length", [](Attack& a, const std::wstring& p) { a.connect(p, std::string(4, '\xFF') + "S"); }},
    {"nothing", [](Attack& a, const std::wstring& p) { a.connect(p); }},
    // As many as the service lets one wait for a tenth of a second for.
    {"many connections", [](Attack& a, const std::wstring& p) { while (a.count() < 200 && a.connect(p, {}, 100)) {} }},
    // Four processes of one pupil, each taking every connection it may, again whenever cut off.
    {"one pupil's many processes", [](Attack& a, const std::wstring& p) { a.pupils.emplace(p, 4); }, true},
};

// A game saves a better score and reads the record back, each in less than a second.
void PlaysWithinASecond(RecordPipeClient& game, const std::string& dir, int score)
{
    auto start = std::chrono::steady_clock::now();
    const SaveResult saved = game.save(dir, std::to_string(score), "Anna");
    EXPECT_EQ(saved.outcome, SaveOutcome::saved) << saved.why;
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
    start = std::chrono::steady_clock::now();
    const RecordReading reading = game.read(dir);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
    EXPECT_EQ(reading.score, std::to_string(score) + "\r\n");
    EXPECT_EQ(reading.holder, "Anna\r\n");
}

// A record service on a pipe of its own, keeping the record in a temporary folder.
class RecordPipeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        wchar_t temporary[MAX_PATH];
        ASSERT_GT(GetTempPathW(MAX_PATH, temporary), 0u);
        const std::string id = std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount64());
        dir_ = Utf8(temporary) + "brivana-pipe-" + id + "\\";
        ASSERT_TRUE(CreateDirectoryW(Wide(dir_).c_str(), nullptr));
        pipe_ = {L"\\\\.\\pipe\\BrivanaRecordTest-" + Wide(id), ServiceSid(L"BrivanaKeeperTest")};
        stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        server_ = std::thread([this] { serverWhy_ = ServeRecordPipe(pipe_, {dir_, {}}, limits_, stop_, kUsersSid, userOf_); });
        for (int i = 0; i < 100 && !game_; ++i, std::this_thread::sleep_for(20ms))
            game_ = RecordPipeClient::Find(pipe_, dir_, ownRecords_);
        ASSERT_NE(game_, nullptr);
    }

    void TearDown() override
    {
        SetEvent(stop_);
        if (server_.joinable()) server_.join();
        CloseHandle(stop_);
        EXPECT_EQ(serverWhy_, "");
        for (const std::string& name : FilesMatching(dir_, "*")) RemoveFile(dir_ + name);
        RemoveDirectoryW(Wide(dir_).c_str());
    }

    // The teachers, in this test: the built-in Users.
    static constexpr const char* kUsersSid = "S-1-5-32-545";
    PipeLimits limits_;
    // Users told apart by process, as Wine cannot tell them by token: every connection of this
    // process is a classmate of its own, every other process is the same pupil.
    PipeUserLookup userOf_ = [classmate = 0](HANDLE connected) mutable {
        ULONG process = 0;
        GetNamedPipeClientProcessId(connected, &process);
        return process == GetCurrentProcessId() ? std::to_string(++classmate) : std::string("pupil");
    };
    std::string dir_;
    RecordPipe pipe_;
    HANDLE stop_ = nullptr;
    std::thread server_;
    std::string serverWhy_;
    SystemFileAccess files_;
    testing::FixedRegisterStamps stamps_;
    LocalRecordKeeper ownRecords_{files_, stamps_};
    std::unique_ptr<RecordPipeClient> game_;
};

TEST_F(RecordPipeTest, SavesOnlyBetterWellFormedRecordsAndOnlyForItsOwner)
{
    EXPECT_TRUE(game_->canKeepShared(dir_));
    EXPECT_EQ(game_->save(dir_, "7", "Anna").outcome, SaveOutcome::saved);
    EXPECT_EQ(game_->save(dir_, "5", "Bruno").outcome, SaveOutcome::notBetter);
    EXPECT_EQ(game_->save(dir_, "011", "Carla").outcome, SaveOutcome::failed);
    EXPECT_EQ(game_->save(dir_, "9", "Da\nrio").outcome, SaveOutcome::failed);
    const RecordReading reading = game_->read(dir_);
    EXPECT_TRUE(reading.complete);
    EXPECT_EQ(reading.score, "7\r\n");
    EXPECT_EQ(reading.holder, "Anna\r\n");

    // No pipe, no service: the game keeps the record itself.
    EXPECT_EQ(RecordPipeClient::Find({pipe_.name + L"-none", pipe_.ownerSid}, dir_, ownRecords_), nullptr);
    // A game that expects the pipe to be someone else's trusts it with nothing.
    auto wary = RecordPipeClient::Find({pipe_.name, ServiceSid(L"SomeoneElse")}, dir_, ownRecords_);
    ASSERT_NE(wary, nullptr);
    EXPECT_EQ(wary->save(dir_, "30", "Ezio").outcome, SaveOutcome::failed);
    EXPECT_FALSE(wary->read(dir_).complete);
    EXPECT_EQ(ReadBytes(dir_ + "briv2s.txt"), "7\r\n");
}

// A request limit far beyond the time a busy machine takes to answer tells "at once" apart from
// "when the silent connections time out".
class RecordPipeWithPatientLimits : public RecordPipeTest {
protected:
    RecordPipeWithPatientLimits() { limits_.request = 10s; }
};

TEST_F(RecordPipeWithPatientLimits, CutsOffAProcessBeyondItsShareOfConnectionsAtOnce)
{
    {
        Attack attack;
        for (int i = 0; i < limits_.connectionsPerClient; ++i) ASSERT_TRUE(attack.connect(pipe_.name));
        const auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(game_->read(dir_).complete);
        EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
    }
    // Once that process lets go, the service sees its connections end and serves games again.
    bool served = false;
    for (int i = 0; i < 50 && !served; ++i, std::this_thread::sleep_for(20ms)) served = game_->read(dir_).complete;
    EXPECT_TRUE(served);
}

// Where Windows does not name the client's process (Wine may not), the hostile clients and the
// game are one process, and only the time limits and the count of connections protect the game.
class RecordPipeWithoutProcessShares : public RecordPipeTest {
protected:
    RecordPipeWithoutProcessShares() { limits_.connectionsPerClient = 1000; }
};

TEST_F(RecordPipeWithoutProcessShares, LetsGamesReadAndSaveWhileHostileClientsHoldConnections)
{
    int score = 100;
    for (const HostileClient& hostile : kHostileClients) {
        if (hostile.ownUser) continue;
        SCOPED_TRACE(hostile.what);
        Attack attack;
        hostile.start(attack, pipe_.name);
        PlaysWithinASecond(*game_, dir_, ++score);
    }
}

// Fewer connections, kept as long as a slow client may keep them: what one user holds is all
// that stands between his classmates and the service.
class RecordPipeAmongUsers : public RecordPipeWithPatientLimits {
protected:
    RecordPipeAmongUsers()
    {
        limits_.connections = 8;
        limits_.connectionsPerUser = 4;
    }
};

TEST_F(RecordPipeAmongUsers, ServesClassmatesWhileOneUserHoldsAllHeMay)
{
    int score = 200;
    for (const HostileClient& hostile : kHostileClients) {
        if (!hostile.ownUser) continue;
        SCOPED_TRACE(hostile.what);
        Attack attack;
        hostile.start(attack, pipe_.name);
        PlaysWithinASecond(*game_, dir_, ++score);
    }
}

TEST_F(RecordPipeTest, FolderAndPipeSecurityReadBackAsWritten)
{
    // A name whose service identifier Windows publishes: NT SERVICE\TrustedInstaller.
    EXPECT_EQ(ServiceSid(L"TrustedInstaller"), "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464");

    const HANDLE pipe = OpenPipe(pipe_.name, READ_CONTROL);
    ASSERT_NE(pipe, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Utf8(SecurityOf(pipe)), Utf8(RecordPipeSddl(pipe_.ownerSid)));
    CloseHandle(pipe);

    EXPECT_EQ(SecureRecordFolder(dir_, RecordFolderSddl(pipe_.ownerSid)), "");
    // Opened to everyone by hand since the installation, then closed again as the service does
    // at its start, which keeps the owner.
    EXPECT_EQ(SecureRecordFolder(dir_, L"D:(A;OICI;FA;;;WD)"), "");
    EXPECT_EQ(SecureRecordFolder(dir_, RecordFolderAccessSddl(pipe_.ownerSid)), "");
    // Wine keeps no access lists on files: it makes one up from the Unix file mode.
    if (!GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version")) {
        EXPECT_EQ(Utf8(SecurityOf(dir_)), Utf8(RecordFolderSddl(pipe_.ownerSid)));
    }
}

TEST_F(RecordPipeTest, AppendsTheGamesLineStampedByTheServiceInAFileOnlyTheTeachersMayRead)
{
    ASSERT_TRUE(game_->appendResult(dir_, {"Zoë; \"Z\"", 2, 1, 3, 60, GameEnding::windowClosed, false}).done);
    SystemRegisterStamps system;
    const int year = SchoolYearOfWhen(system.now()).value_or(0);
    const std::string path = dir_ + RegisterFileName(year);
    const auto line = DecodeRegisterLine(ReadBytes(path).value_or(""));
    ASSERT_TRUE(line);
    EXPECT_EQ(line->computer, system.computerName());
    // The register's access list, as Windows reads it back from an object made with it.
    SecurityAttributes attributes(RegisterFileSddl(pipe_.ownerSid, kUsersSid));
    const HANDLE event = CreateEventW(attributes.get(), TRUE, FALSE, nullptr);
    const std::string made = Utf8(SecurityOf(event));
    CloseHandle(event);
    EXPECT_EQ(made.substr(made.find("D:")), "D:P(A;;FA;;;SY)(A;;FA;;;BA)(A;;FA;;;" + pipe_.ownerSid + ")(A;;FR;;;BU)");
    // The file gives everyone nothing (Wine keeps no access lists on files: it makes one up from
    // the Unix file mode, which this one gives nobody but the owner).
    EXPECT_EQ(Utf8(SecurityOf(path)).find(";WD)"), std::string::npos) << Utf8(SecurityOf(path));
    // An administrator (as every Wine process is) may clear the year.
    EXPECT_TRUE(game_->clearSchoolYear(dir_, year).done);
    EXPECT_EQ(GetFileAttributesW(Wide(path).c_str()), INVALID_FILE_ATTRIBUTES);
}

// Run by scripts/check-windows-installer.sh once the installer has set the service up: two
// games save, then the hostile clients of another process attack the pipe while a game plays.
TEST(InstalledRecordService, SavesGamesWhileAnotherProgramAttacksThePipe)
{
    if (Environment("BRIVANA_INSTALLED_SERVICE") != "1") GTEST_SKIP() << "only where the installer has just run";
    const RecordPipe pipe = InstalledRecordPipe();
    if (Environment("BRIVANA_ATTACKER") == "1") {
        Attack attack;
        for (const HostileClient& hostile : kHostileClients)
            if (!hostile.ownUser) hostile.start(attack, pipe.name);
        Sleep(4000);
        return;
    }
    SystemFileAccess files;
    testing::FixedRegisterStamps stamps;
    LocalRecordKeeper ownRecords(files, stamps);
    const std::string dir = SharedRecordDirectory();
    auto game = RecordPipeClient::Find(pipe, dir, ownRecords);
    ASSERT_NE(game, nullptr);
    EXPECT_TRUE(game->canKeepShared(dir));
    for (const char* score : {"3", "9"}) {
        const SaveResult saved = game->save(dir, score, "Bruno");
        EXPECT_EQ(saved.outcome, SaveOutcome::saved) << saved.why;
    }
    EXPECT_EQ(game->read(dir).score, "9\r\n");

    wchar_t program[MAX_PATH];
    ASSERT_GT(GetModuleFileNameW(nullptr, program, MAX_PATH), 0u);
    std::wstring command = L"\"" + std::wstring(program) + L"\" --gtest_filter=InstalledRecordService.*";
    SetEnvironmentVariableW(L"BRIVANA_ATTACKER", L"1");
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION attacker{};
    const bool started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                        &startup, &attacker);
    SetEnvironmentVariableW(L"BRIVANA_ATTACKER", nullptr);
    ASSERT_TRUE(started);
    Sleep(1500);  // every hostile client is connected by now
    for (int score = 10; score < 13; ++score) PlaysWithinASecond(*game, dir, score);
    WaitForSingleObject(attacker.hProcess, INFINITE);
    CloseHandle(attacker.hThread);
    CloseHandle(attacker.hProcess);
}

// One process of the pupil in "one pupil's many processes", run by PupilProcesses.
TEST(PupilProcess, KeepsTakingConnections)
{
    const std::wstring pipe = Wide(Environment("BRIVANA_PUPIL_PIPE"));
    if (pipe.empty()) GTEST_SKIP() << "only as a pupil's process";
    std::vector<OwnedKernel> held(10);
    bool told = false;
    for (const auto end = std::chrono::steady_clock::now() + 5s; std::chrono::steady_clock::now() < end;
         std::this_thread::sleep_for(20ms)) {
        for (OwnedKernel& connection : held)
            if (!connection || !PeekNamedPipe(connection.get(), nullptr, 0, nullptr, nullptr, nullptr))
                connection = Kernel(OpenPipe(pipe, GENERIC_READ | GENERIC_WRITE, 20));
        if (!told) {
            const OwnedKernel ready(OpenSemaphoreW(SEMAPHORE_MODIFY_STATE, FALSE,
                                                   Wide(Environment("BRIVANA_PUPIL_READY")).c_str()));
            told = ReleaseSemaphore(ready.get(), 1, nullptr);
        }
    }
}

}  // namespace
}  // namespace brivana::windows_test
