// An undo mark that the host did not set, as this release reports it: a
// severe error "Failed to set UNDO mark" with the host's code, which the
// check returns.
#include "evt_undo_mark.h"

#include "quillon.h"

namespace carvell::envelope {

int evt_undo_mark_failed(const char* source, int line, int code) {
    ERROR_severe(source, line, code, "Failed to set UNDO mark");
    return code;
}

}  // namespace carvell::envelope
