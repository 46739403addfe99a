// H-point design tool, the design report: one design instance as plain lines
// in the listing window or as HTML paragraphs in a file (decorated names).
#ifndef CARVELL_HPD_REPORT_H
#define CARVELL_HPD_REPORT_H

#include "carvell_export.h"

#include <stdio.h>

// Writes the report of instance `name` as HTML paragraphs into `file`, or to
// the listing window when `file` is null.
CARVELL_CPP_EXPORT void HM_VD_HPD_OutputReport(const char* name, FILE* file);
// Opens the listing window when needed and writes the report of `name` into it.
CARVELL_CPP_EXPORT void HM_VD_HPD_DisplayResultInWindow(const char* name);

#endif
