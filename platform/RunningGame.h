// The mark a running game leaves for its Windows installer and uninstaller, which
// refuse to replace or remove the program while any copy of it runs.
#pragma once

// Held for the whole run: created first thing in main, released when the program ends.
// Windows: the named mutexes "Local\KalvoraSudokuRunning" (seen by the player's own
// installer) and "Global\KalvoraSudokuRunning" (seen by an installation for all users,
// from every session); packaging/windows/installer.nsi looks for them by these names.
// Elsewhere nothing: no installer there needs it.
class RunningGameMark
{
public:
    RunningGameMark();
    ~RunningGameMark();
    RunningGameMark(const RunningGameMark &) = delete;
    RunningGameMark &operator=(const RunningGameMark &) = delete;

private:
    // The mutexes' handles (none on Linux).
    [[maybe_unused]] void *m_local = nullptr;
    [[maybe_unused]] void *m_global = nullptr;
};
