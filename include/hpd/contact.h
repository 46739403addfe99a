// H-point design tool, shoe and pedal contact: the heel targets on the
// accelerator pedal and the floor, the relations between the AHP and the PRP
// of a 200 mm shoe, and the plan-view angle of the pedal geometry (decorated
// names).
#ifndef CARVELL_HPD_CONTACT_H
#define CARVELL_HPD_CONTACT_H

#include "carvell_export.h"
#include "host_types.h"

// The right heel against the accelerator pedal. Pedal and floor are turned
// back by pv_angle about the vertical through pv_centre. With use_pedal and a
// pedal, the shoe is solved on the pedal: in mode 2 or without a floor the
// heel keeps its height, otherwise the heel goes onto the floor; pedal_angle
// receives the sole angle (degrees). Without the pedal, the heel goes onto
// the floor below it (modes 0 and 1). The heel is turned forward again and,
// with use_pedal, moved sideways by the lateral offset. Answers 0; 40 when
// the probe plane cannot be made (also for a heel that is not finite); 50
// when the contact, a nearest-point query or a turned copy fails (also for an
// angle, centre or offset that is not finite, or a result that comes out not
// finite); -1 for null pointers. Nothing is written on failure.
CARVELL_CPP_EXPORT int HM_VD_HPD_ask_occ_target(bool use_pedal, tag_t pedal, double* pedal_angle, int mode,
                                                tag_t floor, double* heel, double pv_angle, double* pv_centre,
                                                double lateral_offset);
// The heel on the heel floor (modes 0 and 1) and, with find_floor_angle, the
// floor plane angle (degrees) of the ball of foot on its floor. Both floors
// are turned back by pv_angle about the vertical through pv_centre; the heel
// is taken and answered in that turned-back frame. Answers 0; -2 when the
// heel lies beyond the heel floor's ends (it takes the L and H of the floor
// point nearest to it); 40 probe plane (also for a heel that is not finite);
// 50 floor contact, nearest-point query or turned copy failed (also for a
// centre or angle that is not finite, or a result that comes out not
// finite); -1 for null pointers. Nothing is written on failure.
CARVELL_CPP_EXPORT int HM_VD_HPD_ask_shoe_target(bool find_floor_angle, tag_t bof_floor, double* floor_angle,
                                                 int mode, tag_t heel_floor, double* heel, double pv_angle,
                                                 double* pv_centre);
// AHP of a 200 mm shoe from the PRP: (PRP.L + 200 cos A, PRP.W, PRP.H - 200
// sin A) turned about the PRP's vertical by pv_angle (A = pedal angle).
CARVELL_CPP_EXPORT void HM_VD_HPD_ask_ahp_by_prp_no_offset(double* prp, double pedal_angle, double pv_angle,
                                                           double* ahp);
// PRP from the AHP: (AHP.L - 200 cos A, AHP.W, AHP.H + 200 sin A) turned
// about the AHP's vertical by pv_angle.
CARVELL_CPP_EXPORT void HM_VD_HPD_ask_prp_by_ahp_no_offset(double* ahp, double pedal_angle, double pv_angle,
                                                           double* prp);
// AHP W from the PRP W: prp_w + 200 cos(pedal_angle) sin(pv_angle).
CARVELL_CPP_EXPORT void HM_VD_HPD_ask_ahp_y_no_offset(double prp_w, double pedal_angle, double pv_angle,
                                                      double* ahp_w);
// out = point + distance * (-W turned about +H by pv_angle), that is
// point + distance * (sin pv, -cos pv, 0).
CARVELL_CPP_EXPORT void HM_VD_HPD_ask_offset_point_by_pv_angle(double* point, double pv_angle, double distance,
                                                               double* out);
// Plan-view angle (degrees, in [-90, 90]) of the object nearest to the point:
// of its face normal, or of its curve tangent, there. 0; 19 when there is no
// object or the nearest is neither face nor curve; -1 for null pointers.
CARVELL_CPP_EXPORT int HM_VD_HPD_ask_pv_angle(int count, tag_t* objects, double* point, double* pv_angle);

#endif
