// The record of a note object (type HM_note_type): its text, the point it
// stands at and its character height. Internal to the stand-in.
#ifndef CARVELL_HOST_PARTS_ANNOTATION_DATA_H
#define CARVELL_HOST_PARTS_ANNOTATION_DATA_H

#include <array>
#include <string>

namespace host {

struct NoteData {
    std::string text;
    std::array<double, 3> origin{};
    double char_height = 0.0;
};

}  // namespace host

#endif
