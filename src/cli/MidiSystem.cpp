#include "MidiSystem.h"

#include "MidiBackend.h"
#include "RtMidiBackend.h"

int WithMidiSystem(tCliContext& Context, const char* szCommand, const std::function<int()>& Body) {
    if (GetMidiBackend() != nullptr) {
        return Body();
    }
    cRtMidiBackend Backend;
    if (!Backend.IsSystemReachable()) {
        Context.Err << kProgramName << " " << szCommand << ": the "
                    << RtMidi::getApiDisplayName(Backend.GetApi())
                    << " MIDI system does not answer; no devices can be used\n";
        return kExitFailure;
    }
    cScopedMidiBackend Installed(Backend);
    return Body();
}
