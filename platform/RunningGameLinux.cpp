// No installer on Linux looks for a running game: the mark is empty (see RunningGame.h).
#include "RunningGame.h"

RunningGameMark::RunningGameMark() = default;

RunningGameMark::~RunningGameMark() = default;
