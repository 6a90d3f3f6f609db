// A fresh temporary folder per test, removed afterwards, and small file helpers.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#ifdef _WIN32
#include <process.h>
#include <random>
#include <sys/types.h>
#include <windows.h>
#include <shellapi.h>
#else
#include <spawn.h>
#include <sys/wait.h>
extern char** environ;
#endif

class TestFolder
{
public:
    TestFolder()
    {
#ifdef _WIN32
        std::random_device random;
        for (int attempt = 0; attempt < 100 && m_path.empty(); ++attempt) {
            const auto candidate = std::filesystem::temp_directory_path()
                / ("sudoku-test-" + std::to_string(_getpid()) + "-" + std::to_string(random()));
            if (std::filesystem::create_directory(candidate))
                m_path = candidate;
        }
        if (m_path.empty())
            throw std::runtime_error("cannot create a temporary folder");
#else
        std::string pattern = (std::filesystem::temp_directory_path() / "sudoku-test-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("cannot create a temporary folder");
        m_path = pattern;
#endif
    }
    ~TestFolder()
    {
        std::error_code error;
        std::filesystem::remove_all(m_path, error);
    }
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    // A name in UTF-8 ("Paweł/Pobrane"), whatever the system's code page.
    std::filesystem::path operator/(const std::string& name) const { return m_path / Utf8Path(name); }

    static std::filesystem::path Utf8Path(const std::string& name)
    {
        return std::filesystem::path(std::u8string(name.begin(), name.end()));
    }

private:
    std::filesystem::path m_path;
};

inline std::string ReadWholeFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteWholeFile(const std::filesystem::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

// A helper program's arguments in UTF-8; on Windows read from the wide command
// line, as `argv` holds them in the system's code page.
inline std::vector<std::string> ProgramArguments(int argc, char** argv)
{
#ifdef _WIN32
    (void)argc;
    (void)argv;
    std::vector<std::string> arguments;
    int count = 0;
    if (LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 0; i < count; ++i) {
            const auto text = std::filesystem::path(wide[i]).u8string();
            arguments.emplace_back(text.begin(), text.end());
        }
        LocalFree(wide);
    }
    return arguments;
#else
    return std::vector<std::string>(argv, argv + argc);
#endif
}

// Starts a program without waiting for it; returns its process id. The
// arguments are UTF-8 and reach the program whole on Windows too.
inline pid_t SpawnProgram(const std::vector<std::string>& arguments)
{
#ifdef _WIN32
    // The command line is joined from the arguments: quote them (no argument here ends in a backslash).
    std::vector<std::wstring> quoted;
    for (const auto& argument : arguments)
        quoted.push_back(L'"' + TestFolder::Utf8Path(argument).wstring() + L'"');
    std::vector<const wchar_t*> argv;
    for (const auto& argument : quoted)
        argv.push_back(argument.c_str());
    argv.push_back(nullptr);
    const intptr_t process = ::_wspawnv(_P_NOWAIT, TestFolder::Utf8Path(arguments[0]).c_str(), argv.data());
    if (process == -1)
        throw std::runtime_error("cannot start " + arguments[0]);
    return static_cast<pid_t>(process);
#else
    std::vector<char*> argv;
    for (const auto& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (::posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        throw std::runtime_error("cannot start " + arguments[0]);
    return pid;
#endif
}

// The program's exit status, -1 when it did not exit normally.
inline int WaitForProgram(pid_t pid)
{
#ifdef _WIN32
    int status = 0;
    if (::_cwait(&status, static_cast<intptr_t>(pid), _WAIT_CHILD) == -1)
        return -1;
    return status;
#else
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
#endif
}
