// Notes of the stand-in host: the default style, a note made at the work
// coordinate system's origin, its name and the refusals.
#include "host_fixture.h"
#include "omvra.h"
#include "test_helpers.h"

namespace {

class AnnotationsTest : public HostTest {};

TEST_F(AnnotationsTest, ANoteStandsAtTheWorkOriginWithItsText) {
    hc_note_style_t style{};
    ASSERT_EQ(hc6433("", &style), 0);
    EXPECT_DOUBLE_EQ(style.char_height, 3.5);   // the work part is in millimetres
    EXPECT_EQ(hc6433("TITLE", &style), HM_ERR_NOT_FOUND);
    const double origin[3] = {10, 20, 30};
    ASSERT_EQ(HM_CSYS_set_wcs(support::turned_csys(origin, 45.0)), 0);
    tag_t note = 0;
    ASSERT_EQ(hc5540("25", &style, &note), 0);
    EXPECT_EQ(host_testing::note_text(note), "25");
    support::expect_point(host_testing::note_origin(note), {10, 20, 30}, 0.0);
    ASSERT_EQ(hc6401(note, "LABEL"), 0);
    char name[16] = {0};
    HM_OBJ_ask_name(note, name, sizeof name);
    EXPECT_STREQ(name, "LABEL");
    EXPECT_EQ(hc6401(note, ""), 0);
    HM_OBJ_ask_name(note, name, sizeof name);
    EXPECT_STREQ(name, "");
}

TEST_F(AnnotationsTest, RefusalsMakeNoNote) {
    const int objects = host_testing::count_objects();
    tag_t note = 7;
    EXPECT_EQ(hc5540("", nullptr, &note), HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(note, 0u);
    EXPECT_EQ(hc5540(nullptr, nullptr, &note), HM_ERR_NULL_POINTER);
    const hc_note_style_t flat{0.0, 1};
    EXPECT_EQ(hc5540("x", &flat, &note), HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(hc6433("", nullptr), HM_ERR_NULL_POINTER);
    EXPECT_EQ(host_testing::count_objects(), objects);
    EXPECT_EQ(hc6401(0, ""), HM_ERR_INVALID_TAG);
    EXPECT_EQ(hc6401(host_testing::make_point({0, 0, 0}), ""), HM_ERR_WRONG_TYPE);
}

}  // namespace
