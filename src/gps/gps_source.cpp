// SPDX-License-Identifier: GPL-3.0-or-later
#include "gps/gps_source.h"

namespace moltrevane {

std::string PortName(int portIndex) {
    if (portIndex < 0 || portIndex >= static_cast<int>(kPortCount)) return {};
    return "COM" + std::to_string(portIndex + 1) + ":";
}

unsigned BaudRateFor(int speedIndex) {
    if (speedIndex < 0 || speedIndex >= static_cast<int>(kSpeedTable.size())) return 4800;
    return kSpeedTable[static_cast<std::size_t>(speedIndex)];
}

}  // namespace moltrevane
