// Fixtures of files: the data-management mode, failures of the scenario
// module, and the STEP export that a user of the host runs by hand
// to look at a part's geometry in another viewer. The part's visible
// objects go into an assembly document, one shape each under the object's
// name, and the document is written as AP214, the protocol that carries
// names.
#include "host_testing.h"
#include "core/model.h"
#include "core/sinks.h"

#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRepBuilderAPI_MakeVertex.hxx>
#include <IFSelect_ReturnStatus.hxx>
#include <Interface_Static.hxx>
#include <Message.hxx>
#include <Message_Messenger.hxx>
#include <Message_Printer.hxx>
#include <Precision.hxx>
#include <STEPCAFControl_Writer.hxx>
#include <Standard_Failure.hxx>
#include <TCollection_ExtendedString.hxx>
#include <TDF_Label.hxx>
#include <TDataStd_Name.hxx>
#include <TDocStd_Document.hxx>
#include <XCAFDoc_DocumentTool.hxx>
#include <XCAFDoc_ShapeTool.hxx>
#include <gp_Pnt.hxx>

#include <string>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace host_testing {

namespace {

bool is_curve_type(int type) {
    return type == HM_line_type || type == HM_circle_type || type == HM_conic_type || type == HM_spline_type;
}

// The shape that stands for an object in the file: a body or sheet as it is,
// a curve as one edge over its bounded range, a point as a vertex. Null for
// everything else (faces and edges of bodies go with their body; planes,
// datums, features and records have no shape of their own).
TopoDS_Shape exported_shape(const host::Object& o) {
    if (o.type == HM_solid_type) return o.owner == 0 ? o.shape : TopoDS_Shape();
    if (o.type == HM_point_type) return BRepBuilderAPI_MakeVertex(gp_Pnt(o.point[0], o.point[1], o.point[2])).Shape();
    if (is_curve_type(o.type) && !o.curve.IsNull()) {
        const double first = o.curve->FirstParameter(), last = o.curve->LastParameter();
        if (Precision::IsInfinite(first) || Precision::IsInfinite(last)) return TopoDS_Shape();
        BRepBuilderAPI_MakeEdge edge(o.curve, first, last);
        return edge.IsDone() ? edge.Shape() : TopoDS_Shape();
    }
    return TopoDS_Shape();
}

// The visible objects of the part, each added to the document under its
// name; answers how many were added.
int add_visible_objects(tag_t part, const Handle(XCAFDoc_ShapeTool)& shapes) {
    int count = 0;
    for (const auto& entry : host::model().objects) {
        const host::Object& o = entry.second;
        if (o.part != part || o.tag == part || o.blanked || o.status != HM_OBJ_ALIVE) continue;
        const TopoDS_Shape shape = exported_shape(o);
        if (shape.IsNull()) continue;
        const TDF_Label label = shapes->AddShape(shape, false);
        if (!o.name.empty()) TDataStd_Name::Set(label, TCollection_ExtendedString(o.name.c_str()));
        ++count;
    }
    return count;
}

// Sets the exchange settings the writer reads, and gives back what they
// were (they are global): the file's length unit and protocol, and the trace
// level of the kernel's messages, which would otherwise fill the terminal
// with transfer statistics.
class ExchangeSettings {
public:
    ExchangeSettings(const char* unit, const char* schema) {
        for (int i = 0; i < kCount; ++i) {
            const char* old = Interface_Static::CVal(kNames[i]);
            saved_[i] = old ? old : "";
        }
        Interface_Static::SetCVal("write.step.unit", unit);
        Interface_Static::SetCVal("write.step.schema", schema);
        const Message_SequenceOfPrinters& printers = Message::DefaultMessenger()->Printers();
        for (int i = 1; i <= printers.Length(); ++i) {
            levels_.push_back(printers.Value(i)->GetTraceLevel());
            printers.Value(i)->SetTraceLevel(Message_Fail);
        }
    }
    ~ExchangeSettings() {
        for (int i = 0; i < kCount; ++i)
            if (!saved_[i].empty()) Interface_Static::SetCVal(kNames[i], saved_[i].c_str());
        const Message_SequenceOfPrinters& printers = Message::DefaultMessenger()->Printers();
        for (int i = 1; i <= printers.Length() && i <= static_cast<int>(levels_.size()); ++i)
            printers.Value(i)->SetTraceLevel(levels_[i - 1]);
    }
    ExchangeSettings(const ExchangeSettings&) = delete;
    ExchangeSettings& operator=(const ExchangeSettings&) = delete;

private:
    static constexpr int kCount = 2;
    static constexpr const char* kNames[kCount] = {"write.step.unit", "write.step.schema"};
    std::string saved_[kCount];
    std::vector<Message_Gravity> levels_;
};

}  // namespace

int write_step(const char* path, tag_t part) {
    if (!path) return -1;
    if (part == 0) part = host::model().work_part;
    const host::PartData* data = host::part_data(part);
    if (!data) return -1;
    try {
        Handle(TDocStd_Document) document = new TDocStd_Document("MDTV-XCAF");
        // The kernel's lengths are the part's; the file's are millimetres.
        XCAFDoc_DocumentTool::SetLengthUnit(document, data->inches ? 25.4 : 1.0, UnitsMethods_LengthUnit_Millimeter);
        const int count = add_visible_objects(part, XCAFDoc_DocumentTool::ShapeTool(document->Main()));
        if (count == 0) return 0;   // a STEP file holds at least one product

#if defined(__SANITIZE_ADDRESS__)
        // The kernel's STEP exchange keeps tables it fills on first use for
        // the life of the process and drops a coordinate array per
        // direction it translates; the kernel is built without frame
        // pointers, so the checker's quick stacks cannot name them in its
        // suppressions. What the kernel allocates while writing is not
        // checked for leaks.
        __lsan::ScopedDisabler kernel_exchange;
#endif
        STEPCAFControl_Writer writer;
        const ExchangeSettings settings("MM", "AP214IS");
        writer.SetNameMode(true);
        if (!writer.Transfer(document, STEPControl_AsIs)) return -1;
        return writer.Write(path) == IFSelect_RetDone ? count : -1;
    } catch (const Standard_Failure&) {
        return -1;
    }
}

// ---- scenarios and the data-management system ----

void set_kwmanager_active(bool active) { host::settings().kwmanager_active = active; }

void fail_scenario_call(const char* function, int code) {
    host::settings().failing_scenario_call = function ? function : "";
    host::settings().failing_scenario_code = code;
}

}  // namespace host_testing
