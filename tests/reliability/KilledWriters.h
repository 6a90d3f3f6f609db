// Writers killed while storing: what each was doing over and over, and what the next reader must find.
#pragma once

#include "Registry.h"
#include "BestResults.h"
#include "InstallationRecord.h"

#include "OwnHive.h"
#include "TestFolder.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>
#endif

// Every scenario works on the current user's hive (an OwnHive of the test);
// the writer joins it by its name. Its work never ends by itself: the writer is
// killed at a random moment, and then the hive must hold one of the scenario's
// whole states, never a mixture.
namespace killed {

enum class Scenario { Adding, Recording, Clearing };

inline const char* NameOf(Scenario scenario)
{
    switch (scenario) {
    case Scenario::Adding: return "adding";
    case Scenario::Recording: return "recording";
    case Scenario::Clearing: return "clearing";
    }
    return "";
}

inline std::string NameFor(int seconds) { return "gracz " + std::to_string(seconds); }

// The program whose path the record holds, in a folder with Polish letters.
inline std::filesystem::path Program(const std::filesystem::path& folder)
{
    return folder / TestFolder::Utf8Path("Paweł/Pobrane/Gra ąęśćżźńół/sudoku.exe");
}

inline std::string Utf8(const std::filesystem::path& path)
{
    const auto text = path.u8string();
    return std::string(text.begin(), text.end());
}

// Full list of ten, each name telling its own time, as one batch.
inline void StoreFullList(int slowest)
{
    RegistryAccessor registry;
    registry.OpenKey("\\Software\\Kalvora\\Sudoku\\Lista", true);
    std::vector<RegistryValueChange> changes;
    for (int n = 1; n <= BestResults::Capacity; ++n) {
        const int seconds = slowest - BestResults::Capacity + n;
        changes.push_back(RegistryValueChange::String("_g" + std::to_string(n), NameFor(seconds)));
        changes.push_back(RegistryValueChange::Integer("_t" + std::to_string(n), seconds));
    }
    changes.push_back(RegistryValueChange::Integer("LastTime", slowest));
    changes.push_back(RegistryValueChange::Integer("IlePoz", BestResults::Capacity));
    registry.WriteValues(changes);
}

// The record of an older installation that is no longer there: the next start rewrites it.
inline void StoreOldRecord(const std::filesystem::path& folder)
{
    RegistryAccessor registry;
    registry.OpenKey("\\Software\\Kalvora\\Sudoku", true);
    std::vector<RegistryValueChange> changes = {
        RegistryValueChange::String("Version", "1.0.0.0"), RegistryValueChange::String("Name", "Stara"),
        RegistryValueChange::String("Path", Utf8(folder / "usunięty.exe")),
        RegistryValueChange::Integer("LastTime", 0), RegistryValueChange::Integer("IlePoz", 0)};
    changes[3].key = changes[4].key = "Lista";
    registry.WriteValues(changes);
}

inline void Prepare(Scenario scenario, const std::filesystem::path& folder)
{
    switch (scenario) {
    case Scenario::Adding:
        StoreFullList(1'000'000);
        break;
    case Scenario::Recording: {
        std::filesystem::create_directories(Program(folder).parent_path());
        WriteWholeFile(Program(folder), "program");
        BestResults list;
        list.ClearAll();
        list.Add("Ala", 100);
        list.Add("Ola", 50);
        list.Add("Ela", 75);
        StoreOldRecord(folder);
        break;
    }
    case Scenario::Clearing:
        StoreFullList(5000);
        break;
    }
}

// One round of the writer's work.
inline void Work(Scenario scenario, const std::filesystem::path& folder)
{
    switch (scenario) {
    case Scenario::Adding: {
        // Always the best yet: it goes in at place 1 and moves every other place.
        BestResults list;
        const int best = list.Entry(1)->seconds - 1;
        list.Add(NameFor(best), best);
        break;
    }
    case Scenario::Recording: {
        RegistryAccessor registry;
        EnsureInstallationRecord(registry, Program(folder), "2.0.0.432", "Sudoku");
        StoreOldRecord(folder);
        break;
    }
    case Scenario::Clearing:
        BestResults().ClearAll();
        StoreFullList(5000);
        break;
    }
}

// The places of the list as stored, each name with its own time, ranked; "" when so.
inline std::string CheckList(int count)
{
    BestResults list;
    if (list.Count() != count)
        return "the list holds " + std::to_string(list.Count()) + " results, not " + std::to_string(count);
    RegistryAccessor stored;
    if (!stored.OpenKey("\\Software\\Kalvora\\Sudoku\\Lista", false))
        return count == 0 ? "" : "the list is gone";
    int previous = -2147483647 - 1;
    for (int n = 1; n <= BestResults::Capacity; ++n) {
        const std::string name = "_g" + std::to_string(n);
        const std::string time = "_t" + std::to_string(n);
        if (n > count) {
            if (stored.ValueExists(name) || stored.ValueExists(time))
                return "place " + std::to_string(n) + " is left over";
            continue;
        }
        if (stored.GetDataType(name) != RegistryValueType::String || stored.GetDataType(time) != RegistryValueType::DWord)
            return "place " + std::to_string(n) + " is not a whole entry";
        const auto seconds = stored.ReadInteger(time);
        if (stored.ReadString(name) != NameFor(seconds))
            return "place " + std::to_string(n) + ": " + stored.ReadString(name) + " has the time " + std::to_string(seconds);
        if (seconds < previous)
            return "place " + std::to_string(n) + " is not ranked";
        previous = seconds;
    }
    const bool counted = stored.GetDataType("IlePoz") == RegistryValueType::DWord &&
                         stored.GetDataType("LastTime") == RegistryValueType::DWord;
    if (counted && (stored.ReadInteger("IlePoz") != count || stored.ReadInteger("LastTime") != (count ? previous : 0)))
        return "the counters do not match the list";
    if (!counted && (count > 0 || stored.ValueExists("IlePoz") || stored.ValueExists("LastTime")))
        return "the counters are half there";
    return {};
}

// "" when the hive holds one of the scenario's whole states.
inline std::string Check(Scenario scenario, const std::filesystem::path& folder)
{
    switch (scenario) {
    case Scenario::Adding:
        return CheckList(BestResults::Capacity);
    case Scenario::Recording: {
        RegistryAccessor registry;
        if (!registry.OpenKey("\\Software\\Kalvora\\Sudoku", false))
            return "the record is gone";
        const std::string record = registry.ReadString("Version") + ", " + registry.ReadString("Name") + ", " +
                                   registry.ReadString("Path");
        registry.CloseKey();
        const std::string old = "1.0.0.0, Stara, " + Utf8(folder / "usunięty.exe");
        const std::string now = "2.0.0.432, Sudoku, " + Utf8(Program(folder));
        RegistryAccessor counters;
        counters.OpenKey("\\Software\\Kalvora\\Sudoku\\Lista", false);
        const std::string counted = std::to_string(counters.ReadInteger("IlePoz")) + "/" +
                                    std::to_string(counters.ReadInteger("LastTime"));
        if (!((record == old && counted == "0/0") || (record == now && counted == "3/100")))
            return "the record is " + record + " with the counters " + counted;
        const std::pair<const char*, int> entries[] = {{"Ola", 50}, {"Ela", 75}, {"Ala", 100}};
        for (int n = 1; n <= 3; ++n) {
            const auto item = BestResults().Entry(n);
            if (!item || item->name != entries[n - 1].first || item->seconds != entries[n - 1].second)
                return "entry " + std::to_string(n) + " is not " + entries[n - 1].first;
        }
        return BestResults().Entry(4) ? "an entry appeared" : "";
    }
    case Scenario::Clearing:
        return BestResults().Count() == 0 ? CheckList(0) : CheckList(BestResults::Capacity);
    }
    return "no such scenario";
}

// ---------------------------------------------------------------- the writer process

// The writer: joins the test's hive and works until it is killed, saying on its
// output (a byte on Linux) when the first round is done.
//   <program> <scenario> <hive name> <folder>
inline int WriterMain(int argc, char** argv)
{
    const auto arguments = ProgramArguments(argc, argv);
    if (arguments.size() != 4)
        return 2;
    std::optional<Scenario> scenario;
    for (const Scenario candidate : {Scenario::Adding, Scenario::Recording, Scenario::Clearing})
        if (arguments[1] == NameOf(candidate))
            scenario = candidate;
    if (!scenario)
        return 2;
    const OwnHive hive(arguments[2]);
    const auto folder = TestFolder::Utf8Path(arguments[3]);
    for (bool first = true;; first = false) {
        Work(*scenario, folder);
        if (first) {
            std::fputs("started\n", stdout);
            std::fflush(stdout);
        }
    }
}

#ifdef _WIN32
// A writer started with its output on a pipe of ours.
class Writer
{
public:
    Writer(const std::string& program, Scenario scenario, const std::string& hive, const std::filesystem::path& folder)
    {
        SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
        HANDLE writeEnd = nullptr;
        if (!CreatePipe(&m_output, &writeEnd, &inherit, 0))
            throw std::runtime_error("cannot make a pipe");
        SetHandleInformation(m_output, HANDLE_FLAG_INHERIT, 0);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = writeEnd;
        startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
        std::wstring command = L"\"" + TestFolder::Utf8Path(program).wstring() + L"\" " +
                               TestFolder::Utf8Path(NameOf(scenario)).wstring() + L" \"" +
                               TestFolder::Utf8Path(hive).wstring() + L"\" \"" + folder.wstring() + L"\"";
        PROCESS_INFORMATION info{};
        // Wine on a loaded machine now and then fails to start a process at
        // once; a writer that cannot be started a few times over is a fault.
        bool started = false;
        DWORD error = 0;
        for (int attempt = 0; attempt < 5 && !started; ++attempt) {
            if (attempt > 0)
                Sleep(200);
            started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                                     &info);
            error = started ? 0 : GetLastError();
        }
        CloseHandle(writeEnd);
        if (!started)
            throw std::runtime_error("cannot start " + program + " (error " + std::to_string(error) + ")");
        CloseHandle(info.hThread);
        m_process = info.hProcess;
    }
    ~Writer()
    {
        TerminateProcess(m_process, 9);
        WaitForSingleObject(m_process, INFINITE);
        CloseHandle(m_process);
        CloseHandle(m_output);
    }
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    // Once its first round is done, lets it run on for `micros`, then kills it
    // (TerminateProcess, as Task Manager does). False when it had died by itself.
    bool KillAfter(int micros)
    {
        char byte = 0;
        DWORD got = 0;
        if (!ReadFile(m_output, &byte, 1, &got, nullptr) || got != 1)
            return false;
        const auto until = std::chrono::steady_clock::now() + std::chrono::microseconds(micros);
        while (std::chrono::steady_clock::now() < until) {
        }
        return TerminateProcess(m_process, 9) != 0 && WaitForSingleObject(m_process, INFINITE) == WAIT_OBJECT_0;
    }

private:
    HANDLE m_process = nullptr;
    HANDLE m_output = nullptr;
};

// Whether a batch was left half-written in a key of the current user's hive.
inline bool JournalPending(const wchar_t* key)
{
    HKEY handle = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return false;
    const bool pending = RegQueryValueExW(handle, L"Journal", nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    RegCloseKey(handle);
    return pending;
}
#else
// A writer forked from this process, with a pipe that says when it has begun.
class Writer
{
public:
    Writer(Scenario scenario, const std::filesystem::path& folder)
    {
        int channel[2];
        if (::pipe(channel) != 0)
            throw std::runtime_error("cannot make a pipe");
        m_pid = ::fork();
        if (m_pid == 0) {
            ::close(channel[0]);
            for (bool first = true;; first = false) {
                Work(scenario, folder);
                if (first && ::write(channel[1], "x", 1) != 1)
                    ::_exit(1);
            }
        }
        ::close(channel[1]);
        m_ready = channel[0];
    }
    ~Writer()
    {
        ::kill(m_pid, SIGKILL);
        int status = 0;
        ::waitpid(m_pid, &status, 0);
        ::close(m_ready);
    }
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    bool KillAfter(int micros)
    {
        char byte = 0;
        if (::read(m_ready, &byte, 1) != 1)
            return false;
        const auto until = std::chrono::steady_clock::now() + std::chrono::microseconds(micros);
        while (std::chrono::steady_clock::now() < until) {
        }
        return ::kill(m_pid, SIGKILL) == 0;
    }

private:
    pid_t m_pid = -1;
    int m_ready = -1;
};
#endif

} // namespace killed
