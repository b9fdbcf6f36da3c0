#pragma once

#include <cstdint>
#include <vector>

#include "emulator/FaultStorm.h"
#include "emulator/Handshake.h"

// Acts out a storm fault that changes how the device answers a message: silence, a WAIT first,
// lateness, a doubled reply, the number before, or noise first. The message's own replies are
// given and changed in place; ucNumber is the message's packet number, which a WAIT carries.
// True when the fault was acted out: there was a reply to change (a CANCEL has no number to
// change). Any other kind of fault changes nothing here.
bool ShapeReplies(const tStormFault& Fault, uint8_t ucNumber, uint8_t ucDeviceByte,
                  std::vector<tDeviceReply>& Replies);
