// H-point error codes: the text of every code in millimetre and inch parts,
// and the dialogs of the codes that have one.
#include "hpd.h"

#include "host_fixture.h"
#include "quillon.h"
#include "sarnweld.h"

#include <string>

namespace {

std::string message(int code) {
    char* text = HM_VD_HPD_ask_error_message(code);
    EXPECT_NE(text, nullptr) << code;
    std::string s = text ? text : "<null>";
    SM_free(text);
    return s;
}

const char* const kUnknown = "Unknown error";
const char* const kBack0to90 = "The back angle must be in the range 0.0000 - 90.0000 deg.";

struct Text {
    int code;
    const char* text;
};

// Texts that do not depend on the part's units.
const Text kFixedTexts[] = {
    {-3, kUnknown},
    {-2, "The leg position exceeds the selected floor geometry limit. \nThe height of the foremost or the rearmost "
         "point on the floor \ngeometry will be used for the H of heel point."},
    {-1, kUnknown},
    {0, ""},
    {4, "The back angle must be in the range 5.0000 - 40.0000 deg."},
    {5, kBack0to90},
    {6, "The cushion angle must be in the range 0.0000 - 45.0000 deg."},
    {8, "The plan view angle must be in the range -90.0000 - 90.0000 deg."},
    {9, "The pedal plane angle must be in the range 0.0000 - 77.0000 deg."},
    {10, "The distance between SgRP W and Heel Point W exceed range."},
    {11, "Heel point L must be less than SgRP L"},
    {12, "Heel point H must be less than SgRP H."},
    {13, "The ankle angle must be in the range 30.0000 - 180.0000 deg."},
    {14, "AHP to PRP lateral offset(PW14):\nThe entered value must be positive."},
    {15, "The floor plane angle must be in the range 0.0000 - 45.0000 deg."},
    {16, "Right shoe can not contact accelerator or floor geometry. \nSolution: Re-select the accelerator or floor "
         "geometry."},
    {17, "Right shoe can not contact floor geometry. \nSolution: Adjust the heel location or re-select the floor "
         "geometry \nfor ball of foot."},
    {18, "Left shoe can not contact floor geometry. \nSolution: Adjust the heel location or re-select the floor "
         "geometry \nfor ball of foot."},
    {19, kUnknown},
    {20, kUnknown},
    {21, kUnknown},
    {22, kUnknown},
    {23, "Shoe position would exceed current leg lengths. \nSolution: Adjust the angle or position of the shoe "
         "profile or re-select\nthe accelerator or floor geometry."},
    {24, "Heel point L must be less than SgRP L. \nSolution: Adjust the heel point or the SgRP."},
    {25, "Heel point H must be less than SgRP H. \nSolution: Adjust the heel point or the SgRP."},
    {26, "Right shoe heel point must be on the right side of HPD centeral plane. \nSolution: Adjust the heel point "
         "or the SgRP."},
    {27, "Left shoe heel point must be on the left side of HPD centeral plane. \nSolution: Adjust the heel point or "
         "the SgRP."},
    {28, "Unable to lock HPD with the specified ankle angle. \nSolution: Adjust the ankle angle value."},
    {29, "Unable to lock HPD with the specified pedal plane angle. \nSolution: Adjust the pedal plane angle"},
    {30, "Unable to lock HPD with the specified ankle angle and pedal angle \nSolution: Adjust the ankle angle or "
         "pedal plane angle "},
    {31, "Unable to lock HPD with the specified ankle angle and pedal angle \nwhile the pedal angle is equal to "
         "ALPHA angle. \nSolution: Adjust the pedal plane angle or ankle angle or discard use ALPHA "},
    {32, kUnknown},
    {33, "The back angle must be in the range 11.0000 - 18.0000 deg."},
    {35, kBack0to90},
    {36, "L53:\nThe entered value is outside the allowed range.\n\nThe entered value must exceeds zero and smaller "
         "than leg length."},
    {37, "A42:\nThe entered value is outside the allowed range.\n\nThe entered value must exceeds back_angle and "
         "smaller than 180+back_angle degree."},
    {38, "A57:\nThe entered value is outside the allowed range.\n\nThe A57 must be in the range -90 - 90 degree."},
    {39, "A44:\nThe entered value is outside the allowed range.\n\nThe A44 must be in the range 0 - 180 degree."},
    {40, kUnknown},
    {41, kUnknown},
    {1000, kUnknown},
};

const Text kMillimetreRanges[] = {
    {1, "The upper leg length must be in the range 250.0000 - 550.0000 mm."},
    {2, "The lower leg length must be in the range 250.0000 - 550.0000 mm."},
    {3, "The seat height must be in the range 127.0000 - 405.0000 mm."},
    {7, "The lumbar support must be in the range -20.0000 - 40.0000 mm."},
    {34, "The seat height must be in the range 405.0000 - 530.0000 mm."},
};

// 250 / 25.4 = 9.84252, 550 / 25.4 = 21.65354, 127 / 25.4 = 5, 405 / 25.4 =
// 15.94488, -20 / 25.4 = -0.78740, 40 / 25.4 = 1.57480, 530 / 25.4 = 20.86614.
const Text kInchRanges[] = {
    {1, "The upper leg length must be in the range 9.8425 - 21.6535 inch."},
    {2, "The lower leg length must be in the range 9.8425 - 21.6535 inch."},
    {3, "The seat height must be in the range 5.0000 - 15.9449 inch."},
    {7, "The lumbar support must be in the range -0.7874 - 1.5748 inch."},
    {34, "The seat height must be in the range 15.9449 - 20.8661 inch."},
};

}  // namespace

// Error texts and dialogs.
class MessagesTest : public HostTest {};
class MessagesInchTest : public InchHostTest {};

TEST_F(MessagesTest, EveryCodeHasItsErrorMessage) {
    for (const Text& t : kFixedTexts) EXPECT_EQ(message(t.code), t.text) << "code " << t.code;
    for (const Text& t : kMillimetreRanges) EXPECT_EQ(message(t.code), t.text) << "code " << t.code;
    ExpectNoLeaks();
}

TEST_F(MessagesInchTest, ErrorMessageRangesAreInInches) {
    for (const Text& t : kInchRanges) EXPECT_EQ(message(t.code), t.text) << "code " << t.code;
    // Angle bounds are never converted.
    EXPECT_EQ(message(5), kBack0to90);
    ExpectNoLeaks();
}

TEST_F(MessagesTest, FailMessagesShowTheirDialogs) {
    const struct {
        int code;
        int kind;  // 0: no dialog
        const char* title;
        const char* text;
    } cases[] = {
        {40, UI_MESSAGE_ERROR, "Update Model Failed", "The distance between SgRP W and Heel Point W exceed range."},
        {-2, UI_MESSAGE_WARNING, "Out of Geometry Limit",
         "The leg position exceeds the selected floor geometry limit. \nThe height of the foremost or the rearmost "
         "point on the floor \ngeometry will be used for the H of heel point."},
        {16, UI_MESSAGE_ERROR, "Update Model Failed",
         "Right shoe can not contact accelerator or floor geometry. \nSolution: Re-select the accelerator or floor "
         "geometry."},
        {25, UI_MESSAGE_ERROR, "Update Model Failed",
         "Heel point H must be less than SgRP H. \nSolution: Adjust the heel point or the SgRP."},
        {31, UI_MESSAGE_ERROR, "Update Model Failed",
         "Unable to lock HPD with the specified ankle angle and pedal angle \nwhile the pedal angle is equal to "
         "ALPHA angle. \nSolution: Adjust the pedal plane angle or ankle angle or discard use ALPHA "},
        {10, 0, "", ""},
        {0, 0, "", ""},
        {-1, 0, "", ""},
        {1, 0, "", ""},
        {19, 0, "", ""},
        {32, 0, "", ""},
        {36, 0, "", ""},
        {41, 0, "", ""},
    };
    for (const auto& c : cases) {
        host_testing::clear_sinks();
        HM_VD_HPD_display_failmessage(c.code);
        if (c.kind == 0) {
            EXPECT_TRUE(host_testing::dialogs().empty()) << "code " << c.code;
            continue;
        }
        ASSERT_EQ(host_testing::dialogs().size(), 1u) << "code " << c.code;
        const auto& d = host_testing::dialogs()[0];
        EXPECT_EQ(d.kind, c.kind) << "code " << c.code;
        EXPECT_EQ(d.title, c.title) << "code " << c.code;
        ASSERT_EQ(d.lines.size(), 1u) << "code " << c.code;
        EXPECT_EQ(d.lines[0], c.text) << "code " << c.code;
    }
    ExpectNoLeaks();
}

TEST_F(MessagesTest, EveryDialogCodeShowsTheTableText) {
    // The codes whose dialog shows the text of the message table.
    for (int code : {-2, 16, 17, 18, 23, 24, 25, 26, 27, 28, 29, 30, 31}) {
        host_testing::clear_sinks();
        HM_VD_HPD_display_failmessage(code);
        ASSERT_EQ(host_testing::dialogs().size(), 1u) << code;
        EXPECT_EQ(host_testing::dialogs()[0].lines[0], message(code)) << code;
    }
    ExpectNoLeaks();
}
