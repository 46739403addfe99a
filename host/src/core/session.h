// Host-API sessions and undo marks: the host state kept beside the model
// (a mark holds a snapshot of the model, so the marks are not in it).
// Internal to the stand-in.
#ifndef CARVELL_HOST_SESSION_H
#define CARVELL_HOST_SESSION_H

namespace host {

// Session nesting depth.
int session_depth();
// Number of open undo marks.
int undo_mark_count();
// Closes every session and drops every undo mark.
void reset_sessions();

}  // namespace host

#endif
