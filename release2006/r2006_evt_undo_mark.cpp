// An undo mark that the host did not set, as the 2006 release reports it:
// the host's internal error "Failed to set UNDO mark - code %d", raised and
// caught at once, so that the check returns its code.
#include "envelope/evt_undo_mark.h"

#include "toolbox/detail/undo_scope.h"

#include "quillon.h"

#include <cstdio>

namespace carvell::envelope {

int evt_undo_mark_failed(const char* source, int line, int code) {
    char text[64];
    std::snprintf(text, sizeof text, "Failed to set UNDO mark - code %d", code);
    try {
        ERROR_internal(source, line, text);
    } catch (...) {
        return detail::caught_code(source, line);
    }
}

}  // namespace carvell::envelope
