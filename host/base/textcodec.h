// UTF-8 at every boundary, wide strings inside.
#pragma once

#include <string>

namespace vorn {

// Invalid UTF-8 sequences become U+FFFD; never throws.
std::wstring FromUtf8(const std::string& utf8);
// Lone surrogates and values past U+10FFFF become U+FFFD.
std::string ToUtf8(const std::wstring& wide);

}  // namespace vorn
