// The short-long-arm template's name table (199 slots, empty ones "") and
// where its names sit: the 16 hard points from slot 0, their mirrors from
// slot 60, the lines from slot 30 and their mirrors from slot 90.
#ifndef CARVELL_SUSPENSION_SLA_TABLES_H
#define CARVELL_SUSPENSION_SLA_TABLES_H

#include "hm_vd_sla_susp.h"

namespace carvell::suspension {

extern const char* const kSlaNames[SLA_SUSP_NAME_SLOTS];

constexpr int kSlaPointSlot = 0;          // the 16 hard points
constexpr int kSlaJackPointSlot = 20;
constexpr int kSlaLineSlot = 30;          // the 19 lines
constexpr int kSlaMirrorOffset = 60;      // a mirror's slot is its point's or line's slot + 60

}  // namespace carvell::suspension

#endif
