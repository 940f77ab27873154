#include "screens/station_info_screen.h"

#include "directory/station_record.h"
#include "screens/control_ids.h"

namespace moltrevane {

void StationInfoScreen::Initialise() {
    dialog_.SetLines(ids::kStationRecordList, StationRecordLines(context_.directory, context_.infoStation));
}

}  // namespace moltrevane
