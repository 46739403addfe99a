// How the tire-envelope tool's checks report an undo mark that the host did
// not set: defined once per release (evt_undo_mark.cpp in this one).
#ifndef CARVELL_ENVELOPE_EVT_UNDO_MARK_H
#define CARVELL_ENVELOPE_EVT_UNDO_MARK_H

namespace carvell::envelope {

// Reports the failure, stamped with the check's source and line, and answers
// the code the check returns.
int evt_undo_mark_failed(const char* source, int line, int code);

}  // namespace carvell::envelope

#endif
