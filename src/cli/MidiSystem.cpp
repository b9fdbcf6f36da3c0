#include "cli/MidiSystem.h"

#include "midi/MidiBackend.h"
#include "midi/system/SystemMidiBackend.h"

int WithMidiSystem(tCliContext& Context, const char* szCommand, const std::function<int()>& Body) {
    if (GetMidiBackend() != nullptr) {
        return Body();
    }
    cSystemMidiBackend Backend;
    if (!Backend.IsSystemReachable()) {
        Context.Err << kProgramName << " " << szCommand << ": the " << SystemMidiName(Backend)
                    << " MIDI system does not answer; no devices can be used\n";
        return kExitFailure;
    }
    cScopedMidiBackend Installed(Backend);
    return Body();
}
