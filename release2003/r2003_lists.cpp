// The 2003 release's list and curve exports: inserting into a host list,
// restoring a host list from a rule-language list, and the chains of curves
// that meet end to end.
#include "hm_vd.h"
#include "hm_vd_curve.h"
#include "release2003/lists.h"
#include "toolbox/detail/finite.h"
#include "toolbox/detail/owners.h"

#include "omvra.h"

#include <algorithm>
#include <array>
#include <vector>

namespace {

namespace detail = carvell::detail;
using detail::HostList;
using Point = std::array<double, 3>;

constexpr int kFailed = -1;
// Where the curve's end points are, as normalised parameters.
constexpr double kStartParameter = 0.0;
constexpr double kEndParameter = 1.0;
// What HM_VD_CURVE_is_end_point answers.
enum EndPoint { kNoEnd = -1, kStartOrNeither = 0, kEnd = 1 };

double distance_tolerance() {
    double tolerance = 0.0;
    (void)HM_MODL_ask_distance_tolerance(&tolerance);
    return tolerance;
}

bool usable_tolerance(double tolerance) { return detail::all_finite({tolerance}) && tolerance >= 0.0; }

// The curve's start and end points; false when either cannot be asked.
bool curve_ends(tag_t curve, Point& start, Point& end) {
    return curve != NULL_TAG && HM_VD_CURVE_ask_point_on_curve(curve, kStartParameter, start.data()) == 0 &&
           HM_VD_CURVE_ask_point_on_curve(curve, kEndParameter, end.data()) == 0;
}

bool is_closed(tag_t curve) {
    int closed = 0;
    return HM_MODL_ask_curve_closed(curve, &closed) == 0 && closed != 0;
}

bool coincide(const Point& a, const Point& b, double tolerance) {
    return HM_VD_CURVE_is_coinside_point(a.data(), b.data(), tolerance) == 1;
}

// Whether each of the curves' end points has exactly one other end point
// nearer than the tolerance. Open members take part like closed ones: their
// ends must meet the neighbours' ends.
bool ends_pair_up(const std::vector<Point>& ends, double tolerance) {
    for (size_t i = 0; i < ends.size(); ++i) {
        int near = 0;
        for (size_t j = 0; j < ends.size(); ++j) {
            double d = 0.0;
            if (j != i && HM_VEC3_distance(ends[i].data(), ends[j].data(), &d) == 0 && d < tolerance) ++near;
        }
        if (near != 1) return false;
    }
    return true;
}

// The walk along a chain of curves from a start curve: forward from its
// moving end, then, once, backward from its origin.
class ChainWalk {
public:
    ChainWalk(tag_t start, const Point& origin, const Point& moving, hm_list_p_t curves, double tolerance)
        : start_(start), origin_(origin), moving_(moving), curves_(curves), tolerance_(tolerance) {
        chain_.push_back(start);
    }

    void run() {
        if (is_closed(start_)) return;
        tag_t current = start_;
        // Each step adds a curve not yet in the chain or ends a direction, so
        // the walk is bounded by the list however the tolerances disagree.
        int count = 0;
        (void)HM_MODL_ask_list_count(curves_, &count);
        for (int steps = 0; steps <= count + 2; ++steps) {
            if (!step(current)) return;
            if (state_ == HM_VD_CHAIN_CLOSED && !turned_) {
                int equal = 0;
                if (HM_VEC3_is_equal(moving_.data(), origin_.data(), tolerance_, &equal) == 0 && equal) return;
            }
        }
    }

    int state() const { return state_; }
    const std::vector<tag_t>& chain() const { return chain_; }

private:
    // One step from the current curve at the moving end. False when the walk
    // is over.
    bool step(tag_t& current) {
        hm_list_p_t adjacent = nullptr;
        HM_VD_CURVE_ask_adjecent_curves_on_point(current, moving_.data(), curves_, &adjacent);
        const std::vector<tag_t> next = HostList(adjacent).items();
        if (next.size() == 1) return add(next.front(), current);
        if (next.empty() && state_ == HM_VD_CHAIN_CLOSED) state_ = HM_VD_CHAIN_OPEN;
        if (!next.empty()) state_ = HM_VD_CHAIN_BRANCH;
        return turn(current);
    }

    // Adds the one neighbour and moves to its other end.
    bool add(tag_t curve, tag_t& current) {
        if (is_closed(curve)) {
            state_ = HM_VD_CHAIN_BRANCH;
            return false;
        }
        // Back at a curve of the chain: the chain has closed on itself
        // within the distance tolerance; nothing is added twice.
        if (std::find(chain_.begin(), chain_.end(), curve) != chain_.end()) return false;
        Point start{}, end{};
        const int end_point = HM_VD_CURVE_is_end_point(curve, moving_.data());
        if (end_point == kNoEnd || !curve_ends(curve, start, end)) return false;
        if (turned_)
            chain_.insert(chain_.begin(), curve);
        else
            chain_.push_back(curve);
        moving_ = end_point == kEnd ? start : end;
        current = curve;
        return true;
    }

    // The first end of the walk turns it back to the origin; the second ends it.
    bool turn(tag_t& current) {
        if (turned_) return false;
        turned_ = true;
        current = start_;
        moving_ = origin_;
        return true;
    }

    tag_t start_;
    Point origin_, moving_;
    hm_list_p_t curves_;
    double tolerance_;
    int state_ = HM_VD_CHAIN_CLOSED;
    bool turned_ = false;
    std::vector<tag_t> chain_;
};

}  // namespace

int HM_VD_insert_list_item(hm_list_p_t* list, int index, tag_t item) {
    if (!list || index < 0) return kFailed;
    int count = 0;
    (void)HM_MODL_ask_list_count(*list, &count);
    if (index > 0 && index > count - 1) {
        (void)HM_print_syslog(" invalid index", false);
        return kFailed;
    }
    HostList made;
    if (HM_MODL_create_list(made.out()) != 0 || HM_MODL_put_list_item(made.get(), item) != 0) return kFailed;
    if (!*list) {
        *list = made.release();
        return 0;
    }
    // The new item's node moves into the list after the index-th node (the
    // head counting as the first); the one-item list's head is deleted.
    hm_list_p_t node = made.get()->next;
    made.get()->next = nullptr;
    hm_list_p_t before = *list;
    for (int i = 0; i < index; ++i) before = before->next;
    node->next = before->next;
    before->next = node;
    return 0;
}

int HM_VD_restore_list(HM_RQ_value_t value, hm_list_p_t* list) {
    if (!list) return kFailed;
    *list = nullptr;
    int type = HM_RQ_TYPE_OTHER;
    if (value == 0 || HM_RQ_ask_type(value, &type) != 0 || type != HM_RQ_TYPE_LIST) return kFailed;
    HM_RQ_value_t items = 0;
    if (HM_RQ_ask_list(value, &items) != 0) return kFailed;
    std::vector<tag_t> objects;
    HM_RQ_value_t item = 0;
    while (HM_RQ_list_pop(items, &item) == 0) {
        tag_t object = NULL_TAG, instance = NULL_TAG;
        if (HM_RQ_ask_type(item, &type) != 0) continue;
        if (type == HM_RQ_TYPE_TAG)
            (void)HM_RQ_ask_value_tag(item, &object);
        else if (type == HM_RQ_TYPE_INSTANCE && HM_RQ_ask_instance(item, &instance) == 0)
            (void)HM_RQ_ask_kw_object(instance, &object);
        if (object != NULL_TAG) objects.push_back(object);
    }
    *list = detail::new_list(objects);
    return *list ? 0 : kFailed;
}

int HM_VD_CURVE_is_closed_chain(hm_list_p_t curves, double tolerance, bool* closed) {
    if (!closed) return kFailed;
    *closed = false;
    const std::vector<tag_t> items = detail::list_items(curves);
    if (items.empty() || items.front() == NULL_TAG || !usable_tolerance(tolerance)) return kFailed;
    for (tag_t curve : items)
        if (!HM_VD_is_curve(curve)) return kFailed;
    if (items.size() == 1) {
        *closed = is_closed(items.front());
        return 0;
    }
    std::vector<Point> ends(2 * items.size());
    for (size_t i = 0; i < items.size(); ++i)
        if (!curve_ends(items[i], ends[2 * i], ends[2 * i + 1])) return kFailed;
    *closed = ends_pair_up(ends, tolerance);
    return 0;
}

void HM_VD_CURVE_ask_adjecent_curves_on_point(tag_t curve, const double point[3], hm_list_p_t curves,
                                              hm_list_p_t* adjacent) {
    if (!adjacent) return;
    *adjacent = nullptr;
    if (!curves || !detail::finite3(point)) return;
    const Point p{point[0], point[1], point[2]};
    const double tolerance = distance_tolerance();
    std::vector<tag_t> found;
    for (tag_t other : detail::list_items(curves)) {
        Point start{}, end{};
        if (other == curve || !curve_ends(other, start, end)) continue;
        if (coincide(start, p, tolerance) || coincide(end, p, tolerance)) found.push_back(other);
    }
    if (!found.empty()) *adjacent = detail::new_list(found);
}

int HM_VD_CURVE_is_end_point(tag_t curve, const double point[3]) {
    if (!detail::finite3(point) || curve == NULL_TAG || is_closed(curve)) return kNoEnd;
    Point start{}, end{};
    if (!curve_ends(curve, start, end)) return kNoEnd;
    const Point p{point[0], point[1], point[2]};
    const double tolerance = distance_tolerance();
    if (coincide(start, p, tolerance)) return kStartOrNeither;
    return coincide(end, p, tolerance) ? kEnd : kStartOrNeither;
}

int HM_VD_CURVE_ask_chain_of_curve(tag_t curve, bool from_start, double tolerance, hm_list_p_t curves, int* state,
                                   hm_list_p_t* chain) {
    if (!state || !chain) return kFailed;
    *state = HM_VD_CHAIN_CLOSED;
    *chain = nullptr;
    if (!curves || !usable_tolerance(tolerance)) return kFailed;
    tag_t start = curve;
    if (start == NULL_TAG) (void)HM_MODL_ask_list_item(curves, 0, &start);
    Point first{}, last{};
    if (start == NULL_TAG || !curve_ends(start, first, last)) return kFailed;
    ChainWalk walk(start, from_start ? first : last, from_start ? last : first, curves, tolerance);
    walk.run();
    *state = walk.state();
    *chain = detail::new_list(walk.chain());
    return 0;
}
