// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Windows-1252 inside the program, UTF-8 at the toolkit.

#include <string>
#include <string_view>

namespace moltrevane {

std::string Utf8FromCodePage(std::string_view text);
// Characters without a byte in the code page become '?'; bytes that are no UTF-8 stay as they are.
std::string CodePageFromUtf8(std::string_view utf8);

}  // namespace moltrevane
