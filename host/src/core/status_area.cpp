// The status area as applications write it while they work: a text, or an
// emptied area. Both go into the status sink that tests and examples read.
#include "elvosk.h"

int mtStatusArea(const char* text) { return UI_set_status(text ? text : ""); }

int mtClearStatusArea(void) { return UI_set_status(""); }
