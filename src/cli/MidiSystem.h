#pragma once

#include <functional>

#include "cli/CliContext.h"

// Runs Body with a MIDI system to talk to: the backend already installed (as tests install the
// virtual one), or else the real one, which must answer. Returns Body's status, or 1 with a
// message when the real MIDI system does not answer.
int WithMidiSystem(tCliContext& Context, const char* szCommand, const std::function<int()>& Body);
