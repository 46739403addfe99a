// What the suspension template tests share: hard points as arrays and a
// host fixture that finds the template's objects by their names.
#ifndef CARVELL_TESTS_SUSPENSION_TEMPLATE_FIXTURE_H
#define CARVELL_TESTS_SUSPENSION_TEMPLATE_FIXTURE_H

#include "host_fixture.h"

#include "omvra.h"

#include <gtest/gtest.h>

#include <array>

using P3 = std::array<double, 3>;

inline void set(double* to, const P3& p) {
    for (int i = 0; i < 3; ++i) to[i] = p[i];
}
inline P3 get(const double* p) { return {p[0], p[1], p[2]}; }

class TemplateTest : public HostTest {
protected:
    // The first object of the work part with that name (and type, 0: any).
    tag_t named(const char* name, int type = 0) { return HM_OBJ_cycle_by_name_and_type(part_, name, type, 0); }
    int count_named(const char* name) {
        int n = 0;
        for (tag_t t = named(name); t; t = HM_OBJ_cycle_by_name_and_type(part_, name, 0, t)) ++n;
        return n;
    }
    HM_CURVE_line_t line(const char* name) {
        HM_CURVE_line_t data{};
        EXPECT_EQ(HM_CURVE_ask_line_data(named(name, HM_line_type), &data), 0) << name;
        return data;
    }
};

#endif
