// Which walls of a sector meet, found by a sweep along x with exact orientation tests.
#include "level/wall_meetings.h"

#include <algorithm>

namespace krello {
namespace {

Pt wallStart(const GameState& g, int w) {
    const Wall& wall = g.walls[static_cast<size_t>(w)];
    return {wall.x, wall.y};
}

Pt wallEnd(const GameState& g, int w) { return wallStart(g, g.walls[static_cast<size_t>(w)].point2); }

}  // namespace

Contact contact(Pt a, Pt b, Pt c, Pt d) {
    // Segments whose boxes lie apart cannot meet.
    if (std::max(a.x, b.x) < std::min(c.x, d.x) || std::max(c.x, d.x) < std::min(a.x, b.x) ||
        std::max(a.y, b.y) < std::min(c.y, d.y) || std::max(c.y, d.y) < std::min(a.y, b.y))
        return Contact::None;
    const int o1 = orient(a, b, c), o2 = orient(a, b, d);
    const int o3 = orient(c, d, a), o4 = orient(c, d, b);
    if (o1 == 0 && o2 == 0) {
        const bool useX = a.x != b.x;
        auto key = [&](Pt p) { return useX ? p.x : p.y; };
        const int64_t lo = std::max(std::min(key(a), key(b)), std::min(key(c), key(d)));
        const int64_t hi = std::min(std::max(key(a), key(b)), std::max(key(c), key(d)));
        if (lo > hi) return Contact::None;
        return lo == hi ? Contact::Corner : Contact::Fault;
    }
    if (o1 * o2 < 0 && o3 * o4 < 0) return Contact::Fault;
    Contact result = Contact::None;
    auto touch = [&](int o, Pt s1, Pt s2, Pt p) {
        if (o != 0 || !within(s1, s2, p)) return;
        const bool cornerOfBoth = (p == a || p == b) && (p == c || p == d);
        if (!cornerOfBoth) result = Contact::Fault;
        else if (result == Contact::None) result = Contact::Corner;
    };
    touch(o1, a, b, c);
    touch(o2, a, b, d);
    touch(o3, c, d, a);
    touch(o4, c, d, b);
    return result;
}

void WallMeetings::addMeeting(const GameState& g, const Box& here, const Box& there) {
    if (here.left > there.right || there.left > here.right || here.top > there.bottom || there.top > here.bottom)
        return;
    const int i = std::min(here.wall, there.wall), j = std::max(here.wall, there.wall);
    const Contact k = contact(wallStart(g, i), wallEnd(g, i), wallStart(g, j), wallEnd(g, j));
    if (k != Contact::None) meetings_.push_back({i, j, k});
}

void WallMeetings::reserve(size_t walls) {
    boxes_.reserve(walls);
    meetings_.reserve(walls);
}

const std::vector<WallMeeting>& WallMeetings::find(const GameState& g, int first, int end) {
    boxes_.clear();
    for (int w = first; w < end; ++w) {
        const Pt a = wallStart(g, w), b = wallEnd(g, w);
        if (a == b) continue;
        boxes_.push_back({std::min(a.x, b.x), std::max(a.x, b.x), std::min(a.y, b.y), std::max(a.y, b.y), w});
    }
    meetings_.clear();
    if (boxes_.size() <= DIRECT_WALLS) {
        // Few walls: every pair, in wall order, so the meetings come out in order unsorted.
        for (size_t e = 0; e < boxes_.size(); ++e)
            for (size_t f = e + 1; f < boxes_.size(); ++f) addMeeting(g, boxes_[e], boxes_[f]);
        return meetings_;
    }
    std::sort(boxes_.begin(), boxes_.end(), [](const Box& l, const Box& r) { return l.left < r.left; });
    for (size_t e = 0; e < boxes_.size(); ++e) {
        const Box& here = boxes_[e];
        for (size_t f = e + 1; f < boxes_.size() && boxes_[f].left <= here.right; ++f) addMeeting(g, here, boxes_[f]);
    }
    std::sort(meetings_.begin(), meetings_.end(), [](const WallMeeting& l, const WallMeeting& r) {
        return l.first != r.first ? l.first < r.first : l.second < r.second;
    });
    return meetings_;
}

}  // namespace krello
