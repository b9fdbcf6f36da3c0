#pragma once

#include <cstdint>
#include <functional>

class cTransferRun;

// How a host without an event loop (the command line, a benchmark) waits for a run's next tick:
// the interval the last tick asked for, in short slices so that Stop is honoured at once even in
// a long pause between songs. When the tick asks for it, input that arrives for the transfer
// ends the wait at once; a wake without it (input the last step took already) waits on.
void WaitForNextTick(int32_t iMilliseconds, bool WakeOnInput, const cTransferRun& Run,
                     const std::function<bool()>& Stop);
