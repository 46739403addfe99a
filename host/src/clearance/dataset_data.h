// The record of a clearance data set in the stand-in's model: its two object
// lists, its configurations of positions and its clearance zones. A copyable
// value, so that undo snapshots keep it. Internal to the stand-in.
#ifndef CARVELL_HOST_CLEARANCE_DATASET_DATA_H
#define CARVELL_HOST_CLEARANCE_DATASET_DATA_H

#include "host_types.h"

#include <array>
#include <map>
#include <string>
#include <vector>

namespace host {

struct ClearanceList {
    int kind = 0;                 // comparison kind last set (0: never set)
    std::vector<tag_t> objects;
};

// A position of a configuration: a 4x4 transform (row by row, translation in
// elements 3, 7 and 11), the int the host keeps with it, the objects moved.
struct ClearancePosition {
    std::array<double, 16> matrix{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    int value = 0;
    std::vector<tag_t> objects;
};

struct ClearanceConfiguration {
    std::string name;
    std::vector<ClearancePosition> positions;
};

struct ClearanceDataset {
    int obj_type = 0;                        // 0 bodies, 1 occurrences of components
    std::array<ClearanceList, 2> lists;
    std::vector<ClearanceConfiguration> configurations;
    std::map<tag_t, tag_t> zones;            // object -> zone expression
};

}  // namespace host

#endif
