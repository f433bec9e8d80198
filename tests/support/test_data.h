#pragma once

// What the tests feed the program's logic: filters put into a manager (colour maps, a map whose
// result is easy to predict, sequences of members) and a screen of recognisable pixels.

#include "engine/filter/filter.h"
#include "engine/filter/filter_manager.h"
#include "platform/geometry.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

// A colour map that swaps red and blue at every lattice point, so that every channel of most
// colours changes and the result is easy to predict.
inline ColorMap SwapRedBlueMap() {
    ColorMap map{};
    int next = 0;
    for (unsigned r = 0; r < 6; ++r) {
        for (unsigned g = 0; g < 6; ++g) {
            for (unsigned b = 0; b < 6; ++b) {
                map[next++] = MakeColor(51 * b, 51 * g, 51 * r);
            }
        }
    }
    return map;
}

// Adds a colour-map filter named by its ID unless a name is given; null when it is refused.
inline CFilter* AddColorMap(CFilterManager& manager, const std::string& id,
                            const ColorMap& map = {}, const std::string& name = {}) {
    auto filter = std::make_unique<CFilter>(id, name.empty() ? id : name, map);
    CFilter* added = filter.get();
    return manager.AddFilter(std::move(filter)) ? added : nullptr;
}

// Adds a reference filter playing the members ("ID", timeout in ms) in turn.
inline CFilter* AddSequence(CFilterManager& manager, const std::string& id,
                            const std::vector<std::pair<std::string, int>>& members, int repeat = 0,
                            const std::string& name = {}) {
    auto filter = std::make_unique<CFilter>();
    filter->SetID(id);
    filter->SetDisplayName(name.empty() ? id : name);
    filter->SetType(CFilter::kReference);
    filter->SetRepeat(repeat);
    for (const auto& [member, timeout] : members) {
        filter->AppendRef(CFilterRef(member, timeout));
    }
    EXPECT_TRUE(filter->ResolveRefs(manager)) << id;
    CFilter* added = filter.get();
    return manager.AddFilter(std::move(filter)) ? added : nullptr;
}

// The manager's enabled list becomes exactly these filters, by ID.
inline void EnableOnly(CFilterManager& manager, std::initializer_list<std::string> ids) {
    manager.GetEnabledList().clear();
    for (const std::string& id : ids) {
        manager.AppendEnabled(manager.FindFilter(id));
    }
}

inline std::vector<std::string> IDs(const std::vector<CFilter*>& filters) {
    std::vector<std::string> ids;
    for (const CFilter* filter : filters) {
        ids.push_back(filter->GetID());
    }
    return ids;
}

// A reference filter's members as "ID:timeout", followed by ">ID" of the filter a member resolved
// to.
inline std::vector<std::string> Members(const CFilter& filter) {
    std::vector<std::string> members;
    CFilterRef ref;
    for (int i = 0; filter.GetRef(i, ref); ++i) {
        members.push_back(ref.GetID() + ":" + std::to_string(ref.GetTimeout()) +
                          (ref.GetFilter() ? ">" + ref.GetFilter()->GetID() : ""));
    }
    return members;
}

// A screen whose pixel (x, y) has red x, green y and blue 7, so every position is recognisable.
inline std::vector<ColorValue> CoordinateFrame(int width, int height) {
    std::vector<ColorValue> colors;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            colors.push_back(MakeColor(static_cast<unsigned>(x), static_cast<unsigned>(y), 7));
        }
    }
    return colors;
}

// Rectangles in failure messages as (left,top,right,bottom).
inline void PrintTo(const IntRect& r, std::ostream* out) {
    *out << "(" << r.left << "," << r.top << "," << r.right << "," << r.bottom << ")";
}
