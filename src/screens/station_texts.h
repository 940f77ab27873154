#pragma once
// A station's record as the screens show it.

#include <string>

#include "directory/station.h"

namespace moltrevane {

// "145.7125 −0.600 FM": the output frequency, the shift (input − output, signed, three
// decimals; left out unless both are known) and the mode; parts that are empty are left out.
std::string ChannelText(const Station& station);

// A repeater row's info line: "145.7125 −0.600 FM  JN57WA - Kirche", values shown cut as long
// directory values are.
std::string RowInfoText(const Station& station);

}  // namespace moltrevane
