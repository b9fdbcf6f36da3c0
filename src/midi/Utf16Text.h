#pragma once

#include <string>
#include <string_view>

// Any UTF-16 text as UTF-8: a device name, the system's error texts, the Windows command line.
// A lone surrogate becomes U+FFFD. Free of the platform's names, so that a file that sees the
// system's own headers may use it too.
std::string Utf16ToUtf8(std::u16string_view Text);
