#pragma once
// A line of text that does not fit its place ends with "…", cut between characters, so that
// no letter is shown in part and the reader sees that something is missing.

#include <functional>
#include <string>
#include <string_view>

namespace moltrevane {

// The UTF-8 text as it fits `width`, as `measure` gives a text's width.
std::string FittedText(std::string_view utf8, double width, const std::function<double(std::string_view)>& measure);

}  // namespace moltrevane
