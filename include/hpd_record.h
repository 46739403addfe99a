// H-point design record, its spreadsheet and its report under their former
// name: the areas hpd/record.h, hpd/spreadsheet.h and hpd/report.h. New code
// includes hpd.h or the area it needs.
#ifndef CARVELL_HPD_RECORD_FORWARD_H
#define CARVELL_HPD_RECORD_FORWARD_H

#include "hpd/record.h"
#include "hpd/report.h"
#include "hpd/spreadsheet.h"

#endif
