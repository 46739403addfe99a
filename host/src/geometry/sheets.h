// Sheet trims of the stand-in: the test hooks that make the trim report gaps
// or throw, and its call count. Internal to the stand-in.
#ifndef CARVELL_HOST_SHEETS_H
#define CARVELL_HOST_SHEETS_H

namespace host {

// The next `calls` trims report one gap of the length (two points) and change nothing.
void force_trim_gaps(int calls, double gap_length);
// The next trim throws the host's exception with the code.
void force_trim_exception(int code);
// Trims asked since the last reset, and the tolerance of the last one.
int trim_sheet_calls();
double last_trim_tolerance();
void reset_trim_hooks();

}  // namespace host

#endif
