// Tracing of the H-point design tool under the debug key "VD_HPD"; the
// error texts and dialogs are exports (hpd/messages.h).
#ifndef CARVELL_OCCUPANT_HPD_MESSAGES_H
#define CARVELL_OCCUPANT_HPD_MESSAGES_H

namespace carvell::occupant {

// True when the host's checking level is at least 1 and the debug key
// "VD_HPD" is set.
bool hpd_tracing();
// Prints one trace line to standard output and to the host's log.
void hpd_trace(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace carvell::occupant

#endif
