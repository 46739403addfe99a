// Tables of hostile calls: each case calls an export with an argument a
// careless or hostile caller could pass (null outputs and entries, tag 0,
// deleted and wrong-kind tags, NaN, infinities, 1e300, coincident geometry,
// counts of 0, -1 and INT_MAX) and names the answer that means "refused".
#ifndef CARVELL_TESTS_HOSTILE_INPUT_H
#define CARVELL_TESTS_HOSTILE_INPUT_H

#include "host_testing.h"
#include "morvish.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <vector>

namespace support {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// One hostile call and the answer that means "refused".
struct Hostile {
    const char* name;
    std::function<int()> call;
    int refused;
};

// Runs every case: each answers its refusal, and the part holds exactly the
// objects it held before, also after the update (nothing built, nothing
// deleted, nothing logged for deletion).
inline void expect_all_refused(const std::vector<Hostile>& cases) {
    for (const Hostile& c : cases) {
        SCOPED_TRACE(c.name);
        const int before = host_testing::count_objects();
        EXPECT_EQ(c.call(), c.refused);
        EXPECT_EQ(host_testing::count_objects(), before) << "the refused call built or deleted something";
        UPDATE_do_update();
        EXPECT_EQ(host_testing::count_objects(), before) << "the refused call logged objects for deletion";
    }
}

}  // namespace support

#endif
