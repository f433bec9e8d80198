#pragma once

#include "engine/filter/color.h"
#include "engine/filter/image_quality.h"

#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

class CFilter;
class CFilterManager;

// The lattice: six levels per channel (0, 51, ..., 255), 216 sample colours, red outermost.
constexpr int kLatticeLevels = 6;
constexpr int kColorMapSize = kLatticeLevels * kLatticeLevels * kLatticeLevels;
using ColorMap = std::array<ColorValue, kColorMapSize>;

constexpr int ColorMapPosition(int redLevel, int greenLevel, int blueLevel) {
    return 36 * redLevel + 6 * greenLevel + blueLevel;
}

// Mixes two colours t/K of the way from a to b, channel by channel, fractions discarded.
ColorValue BlendColor(ColorValue a, ColorValue b, int t, int k);

// One member of a reference filter: a filter shown for Timeout milliseconds.
class CFilterRef {
public:
    CFilterRef() = default;
    CFilterRef(std::string id, int timeout) : m_id(std::move(id)), m_timeout(timeout) {}
    CFilterRef(const CFilterRef&) = default;
    CFilterRef& operator=(const CFilterRef&) = default;
    virtual ~CFilterRef() = default;

    const std::string& GetID() const { return m_id; }
    CFilter* GetFilter() const { return m_filter; }
    void SetFilter(CFilter* filter) { m_filter = filter; }
    int GetTimeout() const { return m_timeout; }

private:
    std::string m_id;
    CFilter* m_filter = nullptr; // owned by the filter manager
    int m_timeout = 100;
};

class CFilter {
public:
    enum Type : int { kColorMap = 0, kReference = 1 };

    CFilter();
    CFilter(std::string id, std::string displayName, const ColorValue (&colors)[kColorMapSize]);
    CFilter(std::string id, std::string displayName, const ColorMap& colors);
    CFilter(const CFilter& other);
    CFilter& operator=(const CFilter&) = delete;
    virtual ~CFilter();

    const std::string& GetID() const { return m_id; }
    const std::string& GetDisplayName() const { return m_displayName; }
    void SetDisplayName(std::string name) { m_displayName = std::move(name); }

    bool IsColorMapFilter() const { return m_type == kColorMap; }
    bool IsReferenceFilter() const { return m_type == kReference; }
    bool IsVisible() const { return m_visible != 0; }
    void SetInUse(bool inUse) { m_inUse = inUse ? 1 : 0; }
    bool IsInUse() const { return m_inUse != 0; }
    bool IsIdentity() const { return m_identity != 0; }

    const ColorMap& GetColorMap() const { return m_colorMap; }
    // The colour table of GetTableQuality().GetTableSize() entries, or null while there is none.
    const ColorValue* GetTable() const { return m_table.get(); }
    const CImageQuality& GetTableQuality() const { return m_tableQuality; }

    // The table entry of the colour. Without a table the colour is returned unchanged, so a
    // filter whose table could not be built shows the original colours.
    ColorValue Transform(ColorValue colour) const;

    // Builds the table at the quality (a table of another quality is replaced); true when it
    // exists afterwards.
    bool BuildTable(const CImageQuality& quality);
    void FreeTable();

    int GetRefCount() const { return static_cast<int>(m_refs.size()); }
    bool GetRef(int index, CFilterRef& out) const;
    // Looks each member up in the filter manager. False when a member is unknown, or is itself
    // a reference filter (it would have no colour table to show).
    bool ResolveRefs(const CFilterManager& manager);
    int GetRepeat() const { return m_repeat; }

    // Filled in place by the filter file reader.
    void SetID(std::string id) { m_id = std::move(id); }
    void SetType(Type type) { m_type = type; }
    void SetVisible(bool visible) { m_visible = visible ? 1 : 0; }
    void SetRepeat(int repeat) { m_repeat = repeat; }
    void SetColor(int position, ColorValue colour) { m_colorMap[position] = colour; }
    void AppendRef(CFilterRef ref) { m_refs.push_back(std::move(ref)); }

private:
    friend std::unique_ptr<CFilter> CreateNormalFilter();

    std::string m_id;
    std::string m_displayName;
    int m_type = kColorMap;
    int m_visible = 1;
    int m_inUse = 0;
    int m_identity = 0;
    ColorMap m_colorMap{};
    std::unique_ptr<ColorValue[]> m_table;
    CImageQuality m_tableQuality;
    std::vector<CFilterRef> m_refs;
    int m_repeat = 0;
};

// The built-in identity filter "_normal", display name "normal".
std::unique_ptr<CFilter> CreateNormalFilter();

// The colour table of a colour map at the quality, written into table (which holds
// quality.GetTableSize() entries). Exposed for benchmarks and tests of the arithmetic.
void FillColorTable(const ColorMap& colors, const CImageQuality& quality, ColorValue* table);
