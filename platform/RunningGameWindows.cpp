// The running game's named mutexes (see RunningGame.h).
#include "RunningGame.h"

#include <windows.h>

RunningGameMark::RunningGameMark()
    // A mark that cannot be made (a name taken by another kind of object, a
    // session without a global namespace) only costs the installer its warning.
    : m_local(CreateMutexW(nullptr, FALSE, L"Local\\KalvoraSudokuRunning")),
      m_global(CreateMutexW(nullptr, FALSE, L"Global\\KalvoraSudokuRunning"))
{
}

RunningGameMark::~RunningGameMark()
{
    if (m_local)
        CloseHandle(m_local);
    if (m_global)
        CloseHandle(m_global);
}
