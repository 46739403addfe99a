// H-point design tool, error codes: the text of a code and the dialog that
// shows it (decorated names).
#ifndef CARVELL_HPD_MESSAGES_H
#define CARVELL_HPD_MESSAGES_H

#include "carvell_export.h"

// The text of an H-point code, in a new string (free with SM_free).
CARVELL_CPP_EXPORT char* HM_VD_HPD_ask_error_message(int code);
// Shows the dialog of a code that has one: an error for codes above 0, a
// warning for 0 and below.
CARVELL_CPP_EXPORT void HM_VD_HPD_display_failmessage(int code);

#endif
