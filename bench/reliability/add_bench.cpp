// Measures one Add on a full best-results list, and kills writers in the middle of Add to count lists left whole.
#include "BestResults.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

// ---------------------------------------------------------------- a scratch hive

// The game's own hive, pointed elsewhere: XDG_CONFIG_HOME on Linux, a private
// key standing in for HKEY_CURRENT_USER on Windows. A writer process joins the
// hive its parent made by its name.
class ScratchHive
{
public:
    explicit ScratchHive(std::string name = {})
        : m_owned(name.empty())
    {
#ifdef _WIN32
        m_name = m_owned ? "Software\\Kalvora\\Sudoku hives\\bench " + std::to_string(GetCurrentProcessId()) : name;
        const std::wstring wide(m_name.begin(), m_name.end());
        if (m_owned)
            RegDeleteTreeW(HKEY_CURRENT_USER, wide.c_str());
        if (RegCreateKeyExW(HKEY_CURRENT_USER, wide.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_key, nullptr)
            != ERROR_SUCCESS)
            throw std::runtime_error("cannot make the scratch key");
        RegOverridePredefKey(HKEY_CURRENT_USER, m_key);
#else
        if (m_owned) {
            std::string pattern = (fs::temp_directory_path() / "sudoku-add-bench-XXXXXX").string();
            if (!::mkdtemp(pattern.data()))
                throw std::runtime_error("cannot make the scratch folder");
            name = pattern;
        }
        m_name = name;
        ::setenv("XDG_CONFIG_HOME", m_name.c_str(), 1);
#endif
    }
    ~ScratchHive()
    {
#ifdef _WIN32
        RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        RegCloseKey(m_key);
        if (m_owned)
            RegDeleteTreeW(HKEY_CURRENT_USER, std::wstring(m_name.begin(), m_name.end()).c_str());
#else
        std::error_code ignored;
        if (m_owned)
            fs::remove_all(m_name, ignored);
#endif
    }
    const std::string& Name() const { return m_name; }

private:
    bool m_owned;
    std::string m_name;
#ifdef _WIN32
    HKEY m_key = nullptr;
#endif
};

// ---------------------------------------------------------------- the list

std::string NameFor(int seconds) { return "gracz " + std::to_string(seconds); }

// A full list of ten results, each name telling its own time.
void FillList(int slowest)
{
    BestResults list;
    list.ClearAll();
    for (int n = 0; n < BestResults::Capacity; ++n)
        list.Add(NameFor(slowest - n), slowest - n);
}

// Empty when every place holds a name with its own time, ranked, ten of them.
std::string Mixed()
{
    BestResults list;
    if (list.Count() != BestResults::Capacity)
        return "the list holds " + std::to_string(list.Count()) + " results";
    int previous = -2147483647 - 1;
    for (int n = 1; n <= BestResults::Capacity; ++n) {
        const auto item = list.Entry(n);
        if (!item)
            return "place " + std::to_string(n) + " is empty";
        if (item->name != NameFor(item->seconds))
            return "place " + std::to_string(n) + ": " + item->name + " has the time " + std::to_string(item->seconds);
        if (item->seconds < previous)
            return "place " + std::to_string(n) + " is not ranked";
        previous = item->seconds;
    }
    return {};
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Every result is the best yet: it goes in at place 1 and moves all the others.
void TimeAdds(int count)
{
    FillList(1'000'000);
    std::vector<double> first;
    std::vector<double> last;
    int best = 1'000'000 - BestResults::Capacity + 1;
    for (int i = 0; i < count; ++i) {
        --best;
        auto started = Clock::now();
        BestResults().Add(NameFor(best), best);
        first.push_back(std::chrono::duration<double, std::milli>(Clock::now() - started).count());
    }
    // Results just better than the slowest: only place 10 changes.
    for (int i = 0; i < count; ++i) {
        const int slowest = BestResults().Entry(BestResults::Capacity)->seconds;
        auto started = Clock::now();
        BestResults().Add(NameFor(slowest - 1), slowest - 1);
        last.push_back(std::chrono::duration<double, std::milli>(Clock::now() - started).count());
    }
    std::printf("one Add on a full list, %d each: %.3f ms (median) at place 1, %.3f ms at place 10\n", count,
                Median(first), Median(last));
    if (const auto fault = Mixed(); !fault.empty())
        std::printf("  FAULT: %s\n", fault.c_str());
}

// ---------------------------------------------------------------- killed writers

// The writer: adds ever better results until it is killed, and says when it has begun.
int Writer(const std::string& hive, int best)
{
    ScratchHive joined(hive);
    for (int i = 0;; ++i) {
        --best;
        BestResults().Add(NameFor(best), best);
        if (i == 0) {
#ifdef _WIN32
            std::printf("started\n");
            std::fflush(stdout);
#else
            (void)::write(3, "x", 1);
#endif
        }
    }
}

struct Writing
{
#ifdef _WIN32
    HANDLE process = nullptr;
    HANDLE output = nullptr;
#else
    pid_t pid = -1;
    int ready = -1;
#endif
};

Writing StartWriter(const std::string& self, const std::string& hive, int best)
{
    Writing writing;
#ifdef _WIN32
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    CreatePipe(&readEnd, &writeEnd, &inherit, 0);
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    std::string command = "\"" + self + "\" --writer \"" + hive + "\" " + std::to_string(best);
    std::wstring wide(command.begin(), command.end());
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, wide.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info))
        throw std::runtime_error("cannot start the writer");
    CloseHandle(info.hThread);
    CloseHandle(writeEnd);
    writing.process = info.hProcess;
    writing.output = readEnd;
#else
    int channel[2];
    if (::pipe(channel) != 0)
        throw std::runtime_error("cannot make a pipe");
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        ::dup2(channel[1], 3);
        ::_exit(Writer(hive, best));
    }
    ::close(channel[1]);
    writing.pid = child;
    writing.ready = channel[0];
    (void)self;
#endif
    return writing;
}

// Waits until the writer has begun, lets it run for `micros`, then kills it.
void KillAfter(Writing& writing, int micros)
{
#ifdef _WIN32
    char byte = 0;
    DWORD got = 0;
    ReadFile(writing.output, &byte, 1, &got, nullptr);
    const auto until = Clock::now() + std::chrono::microseconds(micros);
    while (Clock::now() < until) {
    }
    TerminateProcess(writing.process, 9);
    WaitForSingleObject(writing.process, INFINITE);
    CloseHandle(writing.process);
    CloseHandle(writing.output);
#else
    char byte = 0;
    (void)::read(writing.ready, &byte, 1);
    const auto until = Clock::now() + std::chrono::microseconds(micros);
    while (Clock::now() < until) {
    }
    ::kill(writing.pid, SIGKILL);
    int status = 0;
    ::waitpid(writing.pid, &status, 0);
    ::close(writing.ready);
#endif
}

void KillWriters(const std::string& self, const std::string& hive, int rounds)
{
    FillList(1'000'000);
    std::mt19937 random(2026);
    int whole = 0;
    for (int round = 0; round < rounds; ++round) {
        const int best = BestResults().Entry(1)->seconds;
        Writing writing = StartWriter(self, hive, best);
        // Up to about three Adds' time after the first one ended.
        KillAfter(writing, static_cast<int>(random() % 30000));
        const auto fault = Mixed();
        if (fault.empty())
            ++whole;
        else
            std::printf("  round %d: %s\n", round, fault.c_str());
        if (!fault.empty())
            FillList(best - 1000);
    }
    std::printf("%d writers killed in the middle of adding: %d lists whole, %d mixed\n", rounds, whole, rounds - whole);
}

std::string SelfPath(const char* argv0)
{
#ifdef _WIN32
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    (void)argv0;
    return path;
#else
    return argv0;
#endif
}

} // namespace

// Arguments: Adds to time at each place (200), writers to kill (300).
int main(int argc, char** argv)
{
    if (argc == 4 && std::string(argv[1]) == "--writer")
        return Writer(argv[2], std::atoi(argv[3]));
    const int adds = argc > 1 ? std::atoi(argv[1]) : 200;
    const int kills = argc > 2 ? std::atoi(argv[2]) : 300;
    ScratchHive hive;
    TimeAdds(adds);
    if (kills > 0)
        KillWriters(SelfPath(argv[0]), hive.Name(), kills);
    return 0;
}
