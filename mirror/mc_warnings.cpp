// Warning texts of mirror certification and the run's message list. A site
// may replace a warning's wording through the host's defaults file: a switch
// key (text key + "_SWITCH") that turns the site's text on, and the text key.
#include "mirror_record.h"

#include "quillon.h"
#include "tessik.h"

#include <string>

namespace carvell::mirror {
namespace {

struct WarningText {
    const char* key;   // null: fixed text or empty slot
    const char* text;  // null: empty slot
};

// Slot 13 is empty; slot 19 is fixed.
const WarningText kWarnings[MC_WARNING_COUNT] = {
    {"MC_WARN_STD_ANGLE", "\n*DOES NOT CERTIFY* Target Angle less than Standard Angle "},
    {"MC_WARN_STD_WIDTH", "\n*DOES NOT CERTIFY* Target Width less than Standard Width "},
    {"MC_WARN_IN_DEVIA", "\n*DOES NOT CERTIFY* Negative Inboard Deviation found"},
    {"MC_WARN_OUT_DEVIA", "\n*DOES NOT CERTIFY* Negative Outboard Deviation found"},
    {"MC_WARN_FOR_STUDY", "\n*DOES NOT CERTIFY*  Standard does not allow convex mirror. For study only"},
    {"MC_WARN_HEADROT", "\n*DOES NOT CERTIFY*  Standard does not allow head rotation. For study only"},
    {"MC_WARN_PRIME_PERIMETER",
     "\n*DOES NOT CERTIFY*  Prime point on the mirror surface but not on mirror perimeter. For study only"},
    {"MC_SKIP_OP_TEST", "OPPOSITE MIRROR AREA TEST SKIPPED"},
    {"MC_WARN_BAD_RADIUS", "\nInvalid radius for given mirror geometry"},
    {"MC_WARN_DIFF_RADII", "\nCalculated radius differs from user specified"},
    {"MC_WARN_OUT_RANGE", "\nSpecified radius out of legal range - for study only "},
    {"MC_SPLIT_RESTRICTIONS", "\nDotted sheets split vision triangle."},
    {"MC_TRIANGLE_OUT_OF_RANGE", "\nThe triangle is out of viewing range."},
    {nullptr, nullptr},
    {"MC_NO_RESTRICTIONS", "\nVision triangle is not obstructed."},
    {"MC_WARN_DEV_STD", "\nValue(s) from standard have been overridden by user values"},
    {"MC_WARN_USR_ANGLE", "\nTarget Angle less than User-Defined Angle "},
    {"MC_WARN_USR_WIDTH", "\nTarget Width less than User-Defined Width "},
    {"MC_WARN_MT_REST", "\nAmbinocular Angle @ Ground PV value may be affected by Mirror-Target Restrictions."},
    {nullptr, "WARNINGS EXCEEDED MESSAGE LIMIT"},
    {"MC_WARN_NO_MIDEYE_INTERSECT", "\nWARNING - Possible bad initial mirror position"},
    {"MC_WARN_NO_EYE_INFO", "Unable to retrieve eyellipse information."},
    // "restricions" is the text users know; kept as it is.
    {"MC_WARN_FAIL_RESTRICT", "\nFails to construct vision restricions. "},
};

// The site's text when its switch is on and its text was read, else the default.
char* warning_text(const WarningText& warning) {
    if (!warning.key) return SM_string_copy(warning.text);
    const std::string switch_key = std::string(warning.key) + "_SWITCH";
    unsigned char on = 0;
    if (VD_DEFFILE_read_value(nullptr, switch_key.c_str(), VD_DEFFILE_SWITCH, &on) != 0) on = 0;
    char text[VD_DEFFILE_TEXT_SIZE] = {};
    const bool read = VD_DEFFILE_read_value(nullptr, warning.key, VD_DEFFILE_TEXT, text) == 0;
    return SM_string_copy(read && on ? text : warning.text);
}

}  // namespace

char** build_warning_table() {
    auto** table = static_cast<char**>(SM_calloc(MC_WARNING_COUNT, sizeof(char*)));
    if (!table) return nullptr;
    for (int slot = 0; slot < MC_WARNING_COUNT; ++slot) {
        if (kWarnings[slot].text) table[slot] = warning_text(kWarnings[slot]);
    }
    return table;
}

void free_warning_table(char*** table) {
    if (!table || !*table) return;
    for (int slot = 0; slot < MC_WARNING_COUNT; ++slot) SM_free((*table)[slot]);
    SM_free(*table);
    *table = nullptr;
}

void add_message(mc_data_s* data, const char* text) {
    if (!data || !text || !data->messages) return;
    if (data->message_count < MC_MAX_MESSAGES) {
        data->messages[data->message_count++] = SM_string_copy(text);
        return;
    }
    // A full list: its tenth message says that the limit was reached.
    const int last = MC_MAX_MESSAGES - 1;
    SM_free(data->messages[last]);
    const char* limit = data->warnings && data->warnings[kMessageLimit] ? data->warnings[kMessageLimit]
                                                                          : kWarnings[kMessageLimit].text;
    data->messages[last] = SM_string_copy(limit);
}

void add_warning(mc_data_s* data, Warning warning) {
    if (!data || !data->warnings) return;
    add_message(data, data->warnings[warning]);
}

}  // namespace carvell::mirror
