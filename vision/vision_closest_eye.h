// The eye point of an eyellipse closest to a target: to a list of target
// objects (an A-pillar, limit edges) or to a target point. The search models
// in the part under its own undo mark and leaves nothing behind.
#ifndef CARVELL_VISION_VISION_CLOSEST_EYE_H
#define CARVELL_VISION_VISION_CLOSEST_EYE_H

#include "host_types.h"
#include "tessik.h"

namespace carvell::vision {

// Results of the search.
enum ClosestEyeStatus {
    kClosestEyeOk = 0,
    kClosestEyeNoData = 12,       // no eyellipse data, no targets, an empty or failed section
    kClosestEyeNoDistance = 17,   // the modeller could not measure a distance
};

// The eye type's ellipsoid (centre of eye type -1, 0 or 1; semi-axes half
// the axis lengths of the percentile: -1 first set, 0 second, other third),
// cut by the horizontal plane through the point one full forward axis length
// ahead of its centre; the eye is the point of that cut nearest to the
// targets' cut by the same plane. Undo mark "ask_closest_eye" (visible).
int closest_eye_to_targets(const VD_eyellipse_param_t* data, int eye_type, int percentile, hm_list_p_t targets,
                           double eye[3]);

// The point of the ellipsoid's cut by the horizontal plane through the
// target point nearest to it. Undo mark "ask_eye_by_point" (visible).
int closest_eye_to_point(const VD_eyellipse_param_t* data, int eye_type, int percentile, const double target[3],
                         double eye[3]);

}  // namespace carvell::vision

#endif
