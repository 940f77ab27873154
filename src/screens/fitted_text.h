// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Text fitted to its place, so that no letter is shown in part: a line that does not fit ends
// with "…", so that the reader sees that something is missing; or, where there are lines to
// spare, it goes on in the next.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace moltrevane {

// The UTF-8 text as it fits `width`, as `measure` gives a text's width.
using TextMeasure = std::function<double(std::string_view)>;

// The UTF-8 text as it fits `width`, as `measure` gives a text's width.
std::string FittedText(std::string_view utf8, double width, const TextMeasure& measure);

// The UTF-8 lines broken where they would not fit `width`: after a blank where one is in reach,
// else between characters. A line's further pieces are indented three blanks more than it.
std::vector<std::string> WrappedLines(const std::vector<std::string>& utf8Lines, double width, const TextMeasure& measure);

}  // namespace moltrevane
