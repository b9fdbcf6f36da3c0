#pragma once

#include <cstdint>
#include <string>

#include "transfer/X10State.h"

// The transfer's texts, written as NUL-terminated single-byte (Windows-1252) strings into a
// buffer the caller owns and sizes. Where a state or handshake has no text of its own, nothing
// is written and the buffer keeps what it showed before. Every write is bounded by the size.
namespace StatusTexts {

void StateText(tX10State eState, int32_t iPacketsSent, int32_t iPacketTotal, char* szBuffer,
               int32_t iBufSize);
void HandShakeText(uint8_t ucHandShake, uint8_t ucPacketNum, char* szBuffer, int32_t iBufSize);
void CancelReason(uint8_t ucReason, char* szBuffer, int32_t iBufSize);
void PortText(const uint8_t* pucData, uint32_t uiDataSize, char* szBuffer, int32_t iBufSize);

// For display: the Windows-1252 text as UTF-8 (the cancel reason's quotation marks).
std::string ToUtf8(const char* szText);

}  // namespace StatusTexts
