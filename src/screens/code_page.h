#pragma once
// Windows-1252 inside the program, UTF-8 at the toolkit.

#include <string>
#include <string_view>

namespace moltrevane {

std::string Utf8FromCodePage(std::string_view text);
// Characters without a byte in the code page keep their low 8 bits.
std::string CodePageFromUtf8(std::string_view utf8);

}  // namespace moltrevane
