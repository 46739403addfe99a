// H-point design tool, the spreadsheet: the design written as a CSV file the
// H-point dialog imports, and the check of a file name before the dialog
// reads or writes it (decorated names).
#ifndef CARVELL_HPD_SPREADSHEET_H
#define CARVELL_HPD_SPREADSHEET_H

#include "carvell_export.h"
#include "hpd/record.h"

// Writes the design as a CSV spreadsheet, replacing `file_name`. Sets the
// record's `part_unit` to the work part's units. Answers 0; -1 for a null
// argument; HM_ERR_FILE when the file cannot be opened or written (also
// reported in the host's system log).
CARVELL_CPP_EXPORT int HM_VD_HPD_write_spreadsheet_value(HPD_apf_values_t* values, const char* file_name);

// Checks a file name before writing (mode 0) or reading (mode 1). True: the
// expanded name is in `full_name` (free with SM_free). False: `error_text`
// holds the reason (free with SM_free) and `full_name` is null.
CARVELL_CPP_EXPORT bool HM_VD_HPD_validate_file_name(const char* file_name, char** error_text, int mode,
                                                     char** full_name);

#endif
