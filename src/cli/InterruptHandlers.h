#pragma once

// The system's side of cInterruptGuard, one file per system: handlers that call RequestInterrupt,
// installed by the guard and taken away again when it ends.
void InstallInterruptHandlers();
void RestoreInterruptHandlers();
