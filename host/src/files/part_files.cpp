// Part files: opening, saving, closing and exporting objects into a part
// file; part names in display and data-management form.
//
// The part file is a JSON document:
//
//   {
//     "format": "carvell-part 1",
//     "name": "<file name the part was saved under>",
//     "units": "mm" | "inch",
//     "distance_tolerance": <number>, "angle_tolerance": <degrees>,
//     "objects": [
//       { "type": <int>, "subtype": <int>, "name": "...", "layer": <int>,
//         "colour": <int>, "blanked": <bool>,
//         "attributes": [ { "title": "...", "kind": "integer" | "real" | "string",
//                           "value": ... } ],
//         "point": [x, y, z],                       // point objects
//         "curve": "<curve in the kernel's text form>",
//         "surface": "<surface in the kernel's text form>",
//         "shape": "<shape in the kernel's BRep text form>",
//         "csys": { "origin": [3 numbers], "matrix": [9 numbers] },
//         "matrix": [9 numbers] }                   // matrix objects
//     ]
//   }
//
// Each object carries only the members it has. Objects kept are those with
// geometry (points, curves, surfaces, shapes) or a coordinate-system or
// matrix record. Not kept: features, components, occurrences, and faces and
// edges (they come back with their body, tagged afresh). Tags are not kept:
// an opened part's objects get new tags, in the file's order.
//
// A part file is not trusted: each object is read into a temporary, its
// kernel texts checked (files/kernel_text.h) before the kernel reads them,
// and the part is made only when every object reads. A malformed object
// fails the open with an error that names it (its index in the file and its
// name) in the error output and the system log.
#include "core/kernel_guard.h"
#include "core/model.h"
#include "core/sinks.h"
#include "files/kernel_text.h"
#include "morvish.h"
#include "omvra.h"
#include "parts/assembly_data.h"
#include "quillon.h"
#include "ulvarth.h"

#include <BRepTools.hxx>
#include <BRep_Builder.hxx>
#include <GeomTools.hxx>
#include <Standard_Failure.hxx>

#include <nlohmann/json.hpp>

#include <cstdio>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

namespace {

using host::find;
using host::model;
using nlohmann::json;

constexpr const char* kFormat = "carvell-part 1";

template <class Write>
std::string kernel_text(Write write) {
    std::ostringstream out;
    out.precision(17);
    write(out);
    return out.str();
}

bool is_occurrence_or_component(const host::Object& o) {
    return std::any_cast<host::OccurrenceData>(&o.data) || std::any_cast<host::ComponentData>(&o.data);
}

// Whether the object has what a part file keeps of it: geometry, or a
// coordinate-system or matrix record. Parts, features and components never.
bool has_geometry(const host::Object& o) {
    if (o.type == HM_part_type || o.type == HM_feature_type || o.type == HM_component_type) return false;
    return o.type == HM_point_type || !o.curve.IsNull() || !o.surface.IsNull() || !o.shape.IsNull() ||
           std::any_cast<host::CsysData>(&o.data) || std::any_cast<host::MatrixData>(&o.data);
}

// Whether the object goes into a part file when its part is saved.
bool is_kept(const host::Object& o) { return !o.owner && !is_occurrence_or_component(o) && has_geometry(o); }

// Whether an object can be exported: anything with geometry of its own or
// shown (occurrences, faces and edges as bodies of their own).
bool is_exportable(const host::Object& o) { return has_geometry(o); }

json object_to_json(const host::Object& o) {
    json j;
    j["type"] = o.type;
    // A face or an edge written on its own is a body of its own.
    j["subtype"] = (o.owner && o.type == HM_solid_type) ? int(HM_solid_body_subtype) : o.subtype;
    j["name"] = o.name;
    j["layer"] = o.layer;
    j["colour"] = o.colour;
    j["blanked"] = o.blanked;
    json attributes = json::array();
    for (const auto& [title, a] : o.attributes) {
        json ja{{"title", title}};
        switch (a.kind) {
            case host::Attribute::Integer: ja["kind"] = "integer"; ja["value"] = a.integer; break;
            case host::Attribute::Real: ja["kind"] = "real"; ja["value"] = a.real; break;
            case host::Attribute::String: ja["kind"] = "string"; ja["value"] = a.text; break;
        }
        attributes.push_back(ja);
    }
    j["attributes"] = attributes;
    if (o.type == HM_point_type) j["point"] = o.point;
    if (!o.curve.IsNull()) j["curve"] = kernel_text([&](std::ostream& out) { GeomTools::Write(o.curve, out); });
    if (!o.surface.IsNull())
        j["surface"] = kernel_text([&](std::ostream& out) { GeomTools::Write(o.surface, out); });
    if (!o.shape.IsNull()) j["shape"] = kernel_text([&](std::ostream& out) { BRepTools::Write(o.shape, out); });
    if (const auto* c = std::any_cast<host::CsysData>(&o.data)) j["csys"] = {{"origin", c->origin}, {"matrix", c->matrix}};
    if (const auto* m = std::any_cast<host::MatrixData>(&o.data)) j["matrix"] = m->matrix;
    return j;
}

// A kernel text of an object, checked before the kernel reads it; throws
// with what is wrong when it is malformed.
std::string checked_text(const json& j, const char* what, std::string (*check)(const std::string&)) {
    std::string text = j.get<std::string>();
    const std::string problem = check(text);
    if (!problem.empty()) throw std::runtime_error(std::string(what) + ": " + problem);
    return text;
}

// An object of a part file, not yet in the object table. Throws on a
// malformed entry.
host::Object object_from_json(const json& j) {
    host::Object o;
    o.type = j.at("type").get<int>();
    o.subtype = j.at("subtype").get<int>();
    o.name = j.value("name", std::string());
    o.layer = j.value("layer", 1);
    o.colour = j.value("colour", 0);
    o.blanked = j.value("blanked", false);
    for (const json& ja : j.value("attributes", json::array())) {
        host::Attribute a;
        const std::string kind = ja.at("kind").get<std::string>();
        if (kind == "integer") {
            a.kind = host::Attribute::Integer;
            a.integer = ja.at("value").get<int>();
        } else if (kind == "real") {
            a.kind = host::Attribute::Real;
            // JSON has no NaN: a real attribute that was not a number is
            // written as null, and must not make the whole part unreadable.
            const json& value = ja.at("value");
            a.real = value.is_null() ? std::numeric_limits<double>::quiet_NaN() : value.get<double>();
        } else if (kind == "string") {
            a.kind = host::Attribute::String;
            a.text = ja.at("value").get<std::string>();
        } else {
            throw std::runtime_error("unknown attribute kind");
        }
        o.attributes[ja.at("title").get<std::string>()] = a;
    }
    if (j.contains("point")) o.point = j.at("point").get<std::array<double, 3>>();
    if (j.contains("curve")) {
        std::istringstream in(checked_text(j.at("curve"), "curve", host::files::check_curve_text));
        GeomTools::Read(o.curve, in);
        if (o.curve.IsNull()) throw std::runtime_error("curve: the kernel could not read it");
    }
    if (j.contains("surface")) {
        std::istringstream in(checked_text(j.at("surface"), "surface", host::files::check_surface_text));
        GeomTools::Read(o.surface, in);
        if (o.surface.IsNull()) throw std::runtime_error("surface: the kernel could not read it");
    }
    if (j.contains("shape")) {
        std::istringstream in(checked_text(j.at("shape"), "shape", host::files::check_shape_text));
        BRep_Builder builder;
        BRepTools::Read(o.shape, in, builder);
        if (o.shape.IsNull()) throw std::runtime_error("shape: the kernel could not read it");
    }
    if (j.contains("csys")) {
        host::CsysData c;
        c.origin = j.at("csys").at("origin").get<std::array<double, 3>>();
        c.matrix = j.at("csys").at("matrix").get<std::array<double, 9>>();
        o.data = c;
    }
    if (j.contains("matrix")) o.data = host::MatrixData{j.at("matrix").get<std::array<double, 9>>()};
    return o;
}

// Puts a read object into a part's object table under a new tag.
tag_t insert(host::Object o, tag_t part) {
    host::Object& made = host::create(o.type, o.subtype, part);
    o.tag = made.tag;
    o.part = part;
    made = std::move(o);
    return made.tag;
}

// A part file named `name` with the part's units and tolerances.
json document(const std::string& name, const host::PartData& p, json objects) {
    return json{{"format", kFormat},
                {"name", name},
                {"units", p.inches ? "inch" : "mm"},
                {"distance_tolerance", p.distance_tolerance},
                {"angle_tolerance", p.angle_tolerance},
                {"objects", std::move(objects)}};
}

json part_to_json(tag_t part, const host::PartData& p) {
    json objects = json::array();
    for (const auto& [tag, o] : model().objects)
        if (o.status == HM_OBJ_ALIVE && o.part == part && o.tag != part && is_kept(o))
            objects.push_back(object_to_json(o));
    return document(p.file_name, p, std::move(objects));
}

// Reads and checks a part file; throws when it cannot.
json read_document(const std::string& file_name) {
    std::ifstream in(file_name);
    if (!in) throw std::runtime_error("cannot open");
    json doc = json::parse(in);
    if (doc.value("format", std::string()) != kFormat) throw std::runtime_error("not a part file");
    return doc;
}

// The text is made before the file is opened: a document that cannot be
// written (a name that is not UTF-8, for example) leaves the file as it was.
bool write_document(const std::string& file_name, const json& doc) {
    const std::string text = doc.dump(1);
    std::ofstream out(file_name, std::ios::trunc);
    if (!out) return false;
    out << text << '\n';
    return static_cast<bool>(out);
}

// How an error names an object of a part file: its index in the file and,
// when it has one, its name.
std::string object_label(const json& j, size_t index) {
    std::string label = "object " + std::to_string(index);
    if (j.is_object()) {
        const auto name = j.find("name");
        if (name != j.end() && name->is_string() && !name->get<std::string>().empty())
            label += " \"" + name->get<std::string>() + "\"";
    }
    return label;
}

// The part and the objects of a document, made in the object table only
// when the whole document reads.
tag_t load_document(const json& doc, const std::string& file_name) {
    host::PartData p;
    p.file_name = file_name;
    const std::string units = doc.at("units").get<std::string>();
    if (units != "mm" && units != "inch") throw std::runtime_error("bad units");
    p.inches = units == "inch";
    p.distance_tolerance = doc.at("distance_tolerance").get<double>();
    p.angle_tolerance = doc.at("angle_tolerance").get<double>();
    const json& entries = doc.at("objects");
    if (!entries.is_array()) throw std::runtime_error("\"objects\" is not a list");
    std::vector<host::Object> objects;
    for (size_t i = 0; i < entries.size(); ++i) {
        try {
            objects.push_back(object_from_json(entries[i]));
        } catch (const std::exception& e) {
            throw std::runtime_error(object_label(entries[i], i) + ": " + e.what());
        } catch (const Standard_Failure& e) {
            throw std::runtime_error(object_label(entries[i], i) + ": the kernel refused it (" +
                                     e.GetMessageString() + ")");
        }
    }

    host::Object& part = host::create(HM_part_type, 0, 0);
    part.part = part.tag;
    part.name = file_name;
    part.data = p;
    const tag_t tag = part.tag;
    for (host::Object& o : objects) insert(std::move(o), tag);
    return tag;
}

// Why a part file could not be opened, in the error output and the system
// log, where the user of the host reads it.
void report_unreadable(const char* file_name, const char* why) {
    const std::string line = std::string("Part file ") + file_name + " cannot be opened: " + (why ? why : "");
    host::sinks().errors.push_back(line);
    host::sinks().syslog.push_back(line);
}

void fail_status(HM_PART_load_status_t* status, const char* file_name, int code) {
    status->failed = true;
    status->n_parts = 1;
    status->file_names = static_cast<char**>(SM_alloc(sizeof(char*)));
    status->file_names[0] = SM_string_copy(file_name);
    status->statuses = static_cast<int*>(SM_alloc(sizeof(int)));
    status->statuses[0] = code;
}

}  // namespace

int HM_PART_open_quiet(const char* file_name, tag_t* part, HM_PART_load_status_t* status) {
    if (!file_name || !part || !status) return HM_ERR_NULL_POINTER;
    *status = HM_PART_load_status_t{false, 0, nullptr, nullptr};
    tag_t opened = HM_PART_ask_part_tag(file_name);
    if (!opened) {
        // The object that cannot be read is named here; anything else that
        // escapes the kernel is the guard's.
        const int loaded = host::guarded(__func__, HM_ERR_FILE, [&]() -> int {
            try {
                opened = load_document(read_document(file_name), file_name);
            } catch (const std::exception& e) {
                report_unreadable(file_name, e.what());
            } catch (const Standard_Failure& e) {
                report_unreadable(file_name, e.GetMessageString());
            }
            return opened ? 0 : HM_ERR_FILE;
        });
        if (loaded) opened = 0;
    }
    if (!opened) {
        *part = 0;
        fail_status(status, file_name, HM_ERR_FILE);
        return HM_ERR_FILE;
    }
    *part = opened;
    host::set_work_part(opened);
    model().display_part = opened;
    return 0;
}

int HM_PART_save(tag_t part) {
    const host::PartData* p = host::part_data(part);
    if (!p) return HM_ERR_INVALID_TAG;
    return host::guarded(__func__, HM_ERR_FILE, [&]() -> int {
        return write_document(p->file_name, part_to_json(part, *p)) ? 0 : HM_ERR_FILE;
    });
}

int HM_PART_close(tag_t part, int scope, int mode) {
    if (!host::part_data(part)) return HM_ERR_INVALID_TAG;
    if (scope < 0 || scope > 1 || mode < 0 || mode > 1) return HM_ERR_BAD_ARGUMENT;
    std::vector<tag_t> members;
    for (const auto& [tag, o] : model().objects)
        if (o.part == part && tag != part) members.push_back(tag);
    for (tag_t t : members) host::erase(t);
    host::erase(part);
    if (model().work_part == part) host::set_work_part(0);
    if (model().display_part == part) model().display_part = 0;
    return 0;
}

int HM_PART_export_with_options(const char* file_name, int count, const tag_t* objects,
                                const HM_PART_export_options_t* options) {
    if (!file_name || !options || (count > 0 && !objects)) return HM_ERR_NULL_POINTER;
    if (count < 0 || options->parameters < 0 || options->parameters > 2 || options->expressions < 0 ||
        options->expressions > 2)
        return HM_ERR_BAD_ARGUMENT;
    std::vector<const host::Object*> exported;
    for (int i = 0; i < count; ++i) {
        const host::Object* o = find(objects[i]);
        if (!o) return HM_ERR_INVALID_TAG;
        if (!is_exportable(*o)) return HM_ERR_WRONG_TYPE;
        exported.push_back(o);
    }
    const tag_t target = HM_PART_ask_part_tag(file_name);
    std::ifstream probe(file_name);
    const bool file_exists = static_cast<bool>(probe);
    probe.close();
    // A new part file is never written over an existing one.
    if (options->new_file && (target || file_exists)) return HM_ERR_FILE;
    return host::guarded(__func__, HM_ERR_FILE, [&]() -> int {
        std::vector<json> entries;
        for (const host::Object* o : exported) entries.push_back(object_to_json(*o));
        if (target) {
            // The loaded part takes the copies, then goes to its file.
            std::vector<host::Object> copies;
            for (const json& j : entries) copies.push_back(object_from_json(j));
            for (host::Object& o : copies) insert(std::move(o), target);
            return HM_PART_save(target);
        }
        json doc;
        if (file_exists) {
            doc = read_document(file_name);
        } else {
            const host::PartData* p = exported.empty() ? nullptr : host::part_data(exported.front()->part);
            host::PartData defaults;
            if (!p) p = &defaults;
            doc = document(file_name, *p, json::array());
        }
        for (json& j : entries) doc.at("objects").push_back(std::move(j));
        return write_document(file_name, doc) ? 0 : HM_ERR_FILE;
    });
}

/* ---- part names ---- */

char* PART_name_for_display(const char* part_name, int mode) {
    if (!part_name) return nullptr;
    std::string name = part_name;
    if (mode == 6) {
        const size_t slash = name.find_last_of('/');
        if (slash != std::string::npos) name.erase(0, slash + 1);
        const size_t dot = name.find_last_of('.');
        if (dot != std::string::npos && dot > 0) name.erase(dot);
    }
    return SM_string_copy(name.c_str());
}

bool PART_is_cmod_data_loaded(tag_t part) { return host::part_data(part) != nullptr; }

int VD_ask_vorsa_name(const char* file_name, char* vorsa_name, size_t size) {
    if (!file_name || !vorsa_name || size == 0) return HM_ERR_NULL_POINTER;
    std::snprintf(vorsa_name, size, "%s", file_name);
    return 0;
}
