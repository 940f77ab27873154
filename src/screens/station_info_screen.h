#pragma once
// "Info Station": the whole record of the row handed over in infoStation.

#include "screens/screen.h"
#include "screens/screen_context.h"

namespace moltrevane {

class StationInfoScreen final : public Screen {
public:
    StationInfoScreen(ScreenContext& context, Dialog& dialog) : context_(context), dialog_(dialog) {}
    void Initialise() override;

private:
    ScreenContext& context_;
    Dialog& dialog_;
};

// The edit-station screen has no logic: its layout is all it is.
class EditStationScreen final : public Screen {};

}  // namespace moltrevane
