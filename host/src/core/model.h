// The stand-in host's model: the object table, the parts, the rule-language
// store and the deferred deletions, held in one value so that an undo mark
// can keep a snapshot of it. Geometry is OpenCASCADE data behind the tags;
// OCCT shapes and geometry handles are shared, so a snapshot is cheap.
//
// Internal to the stand-in: the library never includes this header.
#ifndef CARVELL_HOST_MODEL_H
#define CARVELL_HOST_MODEL_H

#include "host_types.h"
#include "rules/rule_store.h"

#include <Geom_Curve.hxx>
#include <Geom_Surface.hxx>
#include <TopoDS_Shape.hxx>

#include <any>
#include <array>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace host {

struct Attribute {
    enum Kind { Integer, Real, String } kind = String;
    int integer = 0;
    double real = 0.0;
    std::string text;
};

// What a part knows of itself.
struct PartData {
    std::string file_name;           // also its name
    bool inches = false;
    double distance_tolerance = 0.01;  // in part units
    double angle_tolerance = 0.5;      // degrees
    tag_t wcs = 0;                     // work coordinate system, 0 = absolute
    int work_layer = 1;                // layer of newly created objects
    double density = 7850.0;           // of its solid bodies, kg per cubic metre (steel)
};

// A modelling feature (type 205): its kind ("BLOCK", "SEW", "DATUM_PLANE",
// ...), the body it made, and the other objects it made.
struct FeatureData {
    std::string kind;
    tag_t body = 0;
    std::vector<tag_t> objects;
    bool suppressed = false;
    bool parameterised = true;   // false once converted to an unparameterised feature
    tag_t link_source = 0;       // a linked feature: the object it copies
    // A sketch (kind "SKETCH"): the origin and orientation (rows x, y, z) of
    // its plane; `objects` are its member curves.
    std::array<double, 3> sketch_origin{};
    std::array<double, 9> sketch_orientation{1, 0, 0, 0, 1, 0, 0, 0, 1};
};

// A coordinate system (type 45): origin and orientation (rows are the axes).
struct CsysData {
    std::array<double, 3> origin{};
    std::array<double, 9> matrix{1, 0, 0, 0, 1, 0, 0, 0, 1};
    tag_t matrix_object = 0;   // the matrix object it was made from, if any
};

// A matrix object (type 55): an orientation, rows are the axes.
struct MatrixData {
    std::array<double, 9> matrix{1, 0, 0, 0, 1, 0, 0, 0, 1};
};

struct Object {
    tag_t tag = 0;
    int type = 0;
    int subtype = 0;
    tag_t part = 0;        // owning part (a part owns itself)
    std::string name;
    int layer = 1;
    int colour = 0;
    bool blanked = false;
    int status = HM_OBJ_ALIVE;
    std::map<std::string, Attribute> attributes;

    // Geometry, whichever the kind uses.
    std::array<double, 3> point{};     // point objects
    Handle(Geom_Curve) curve;          // curve objects, in OCCT's own parameter range
    Handle(Geom_Surface) surface;      // plane and datum objects
    TopoDS_Shape shape;                // bodies, sheets, faces, edges
    tag_t owner = 0;                   // face or edge: its body; feature: its body
    std::vector<tag_t> subtags;        // body: faces then edges, tagged on first request
    bool subtags_made = false;
    std::array<int, 2> grid_counts{};  // faces: u and v lines of the display grid

    // Kind-specific record (part data, coordinate system, feature, component,
    // tag set, ...). Must be a copyable value: undo snapshots copy it.
    std::any data;

    // Display: the line font (0 solid, 5 dotted, ...).
    int font = 0;
};

// A scenario part (vornesk.h): its master's part file, its scenario name,
// and whether it is the scenario the master opens with.
struct ScenarioRecord {
    std::string master_file;
    std::string name;
    bool active = false;
};

struct Model {
    std::map<tag_t, Object> objects;
    tag_t work_part = 0;
    tag_t display_part = 0;
    RuleStore rules;
    std::vector<tag_t> logged_for_deletion;
    // Motion: the current mechanism of each part that has its motion
    // environment (HM_MOTION_initialize).
    std::map<tag_t, tag_t> mechanisms;
    // The vehicle coordinate system (VD_get_csys): origin and rows of axes.
    std::array<double, 3> vehicle_origin{};
    std::array<double, 9> vehicle_axes{1, 0, 0, 0, 1, 0, 0, 0, 1};
    // The scenario parts of the loaded parts, by scenario part.
    std::map<tag_t, ScenarioRecord> scenarios;
    // How components of assemblies load (HM_ASSEM_options_t, field by field).
    std::array<int, 10> assembly_options{1, 1, 0, 0, 1, 1, 0, 1, 0, 0};
};

// The one host state: the model and what is not undone (tag counter,
// sessions, sinks live elsewhere).
Model& model();

// Host-internal object kind of tag sets (OM_create_tag_set); not an object a
// user counts.
constexpr int kTagSetType = 1001;

// Object table access. find() answers null for 0, unknown or deleted tags.
Object* find(tag_t tag);
Object* find(tag_t tag, int type);         // also checks the type
Object& create(int type, int subtype, tag_t part = 0);  // part 0: the work part
tag_t next_tag();
void erase(tag_t tag);                     // removes the object and what it owns
// Empties the model; tags are never reused within a process, so a stale tag
// from an earlier test never names a new object.
void reset_objects();
PartData* part_data(tag_t part);           // null when tag is not a part
PartData* work_part_data();                // null without a work part
// Makes the part (0: none) the work part and sets the kernel factors
// (pxsfac) by its units: the kernel is in metres, so {0.001, 1000} for a
// millimetre part (and without a part), {0.0254, 1 / 0.0254} for an inch
// part. Every change of the work part goes through here.
void set_work_part(tag_t part);

// Creates a feature of the given kind for a body (or other object) of the
// work part, recorded in the made object's `owner`-free feature list; the
// feature is deleted with its body.
Object& create_feature(const char* kind, tag_t body, const std::vector<tag_t>& objects = {});

// Converts a length in millimetres into the work part's units.
double mm_to_part(double mm);

// The work part's distance tolerance (0.01 without a part).
double distance_tolerance();

// The record of a coordinate-system object; null with HM_ERR_INVALID_TAG
// or HM_ERR_WRONG_TYPE in *result.
CsysData* csys_data(tag_t csys, int* result);
// The frame of a coordinate-system object, the absolute frame for tag 0: 0,
// HM_ERR_INVALID_TAG or HM_ERR_WRONG_TYPE.
int frame_of(tag_t csys, CsysData& frame);

// Features that made or changed a body, in creation order.
std::vector<tag_t> features_of_body(tag_t body);

// The items of a host list in order (none for a null list).
std::vector<tag_t> list_items(hm_list_p_t list);
// A new host list of the tags in *list: 0, or the host code of a failure.
int new_list(const std::vector<tag_t>& tags, hm_list_p_t* list);
// A copy of the tags in a new array of the memory manager; null when there
// are none.
tag_t* tag_array(const std::vector<tag_t>& tags);

}  // namespace host

#endif
