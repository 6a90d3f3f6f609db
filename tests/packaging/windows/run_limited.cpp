// Runs a program as a player does: with the limited (not elevated) token that
// belongs to the elevated one this process has, as Windows gives an
// administrator's programs that were not started "as administrator". Wine starts
// every program elevated; the installer test starts the player's own installer
// and uninstaller through this. Waits for the program and ends with its exit code.
//
// Usage: run_limited.exe [--elevated] "<command line>"
//   The command line is one argument, passed on as it is (as Windows runs an
//   UninstallString). --elevated keeps this process's own elevated token: the
//   same exact command line, as an administrator runs it. Exit 125 when the
//   program cannot be started.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

int fail(const char *what)
{
    std::fprintf(stderr, "run_limited: %s failed (error %lu)\n", what, GetLastError());
    return 125;
}

} // namespace

int wmain(int argc, wchar_t **argv)
{
    const bool elevated = argc == 3 && std::wstring(argv[1]) == L"--elevated";
    if (argc != 2 && !elevated) {
        std::fprintf(stderr, "usage: run_limited [--elevated] \"<command line>\"\n");
        return 125;
    }
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY | TOKEN_DUPLICATE | TOKEN_ASSIGN_PRIMARY, &token))
        return fail("OpenProcessToken");
    HANDLE runAs = token;
    if (!elevated) {
        TOKEN_LINKED_TOKEN linked{};
        DWORD length = 0;
        if (!GetTokenInformation(token, TokenLinkedToken, &linked, sizeof linked, &length))
            return fail("GetTokenInformation(TokenLinkedToken)");
        TOKEN_ELEVATION elevation{};
        if (!GetTokenInformation(linked.LinkedToken, TokenElevation, &elevation, sizeof elevation, &length)
            || elevation.TokenIsElevated) {
            std::fprintf(stderr, "run_limited: this process has no limited token to give\n");
            return 125;
        }
        runAs = linked.LinkedToken;
    }
    std::wstring commandLine = argv[elevated ? 2 : 1];
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessAsUserW(runAs, nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              nullptr, &startup, &process))
        return fail("CreateProcessAsUser");
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 125;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}
