#include "conversion/X10Size.h"

bool IsX10SizeAllowed(uint64_t qwX10Bytes) {
    return qwX10Bytes <= kMaxX10Bytes;
}

std::string X10SizeFailureText(uint64_t qwX10Bytes) {
    return "the song file for the device would be " + std::to_string(qwX10Bytes) +
           " bytes, more than the " + std::to_string(kMaxX10Bytes) + " it can take";
}
