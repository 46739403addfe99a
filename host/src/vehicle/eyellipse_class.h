// The eyellipse class of the rule language ("%kw_vd_eyellipse"): what an
// instance made from the class's design parameters works out for itself.
//
// Internal to the stand-in.
#ifndef CARVELL_HOST_VEHICLE_EYELLIPSE_CLASS_H
#define CARVELL_HOST_VEHICLE_EYELLIPSE_CLASS_H

#include "rules/rule_store.h"

#include <string>
#include <utility>
#include <vector>

namespace host::vehicle {

using NamedValues = std::vector<std::pair<std::string, RuleValue>>;

// The ellipsoid attributes of an eyellipse instance given the rules `given`
// (name, parsed value), by SAE J941 for class A vehicles: "Centroid_coords"
// (left eye, cyclops eye, right eye), "Axis_dir", "Axis_Length" (of the
// instance's percentile), "Axis_Length_95", "Axis_Length_99" and
// "Side_value" (the hip point's y). 0 with *made filled; *made empty when
// none of the parameters the ellipsoid rests on is given (an instance that
// states its ellipsoid itself). HM_ERR_BAD_ARGUMENT when some are given but
// one is missing, of another kind, not finite, or a percentile or
// transmission type that the class does not know.
int eyellipse_class_rules(const NamedValues& given, NamedValues* made);

}  // namespace host::vehicle

#endif
