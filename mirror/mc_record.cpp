// The zero-fill of the mirror-certification working record: the defaults
// every run starts from.
#include "mirror_record.h"

#include <cstring>

namespace carvell::mirror {

void zero_fill(mc_data_s* data) {
    std::memset(static_cast<void*>(data), 0, sizeof *data);
    data->distance_tolerance = kDefaultTolerance;
    data->angle_tolerance = kDefaultTolerance;
    data->third_tolerance = kDefaultTolerance;
    data->lower_legal_radius = kDefaultLowerLegalRadius;
    data->upper_legal_radius = kDefaultUpperLegalRadius;
    data->positioning = true;
    data->skip_area_test = true;
    for (int& colour : data->colours) colour = kDefaultColour;
    data->certifies = true;
}

}  // namespace carvell::mirror
