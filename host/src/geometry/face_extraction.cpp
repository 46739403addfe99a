// Extracted faces: a sheet body of its own holding a copy of a face.
#include "geometry/bodies.h"
#include "omvra.h"

#include <BRepBuilderAPI_Copy.hxx>
#include <Standard_Failure.hxx>

int HM_MODL_extract_face(tag_t face, int mode, tag_t* sheet) {
    (void)mode;
    if (!sheet) return HM_ERR_NULL_POINTER;
    *sheet = 0;
    if (!host::work_part_data()) return HM_ERR_NO_PART;
    host::Object* f = host::find_face(face);
    if (!f) return HM_ERR_INVALID_TAG;
    try {
        BRepBuilderAPI_Copy copy(host::operand_shape(face));
        *sheet = host::make_body(copy.Shape(), "EXTRACT_FACE");
    } catch (const Standard_Failure&) {
        return HM_ERR_GEOMETRY;
    }
    return *sheet ? 0 : HM_ERR_GEOMETRY;
}
