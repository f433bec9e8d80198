#include "filter/filter.h"

#include "filter/image_quality.h"

#include <array>
#include <cstring>
#include <limits>
#include <new>

namespace {

// floor(x / k) for every x <= 255 * k as ((x * m) >> 16) >> shift with a 16-bit m: a
// multiply-high on 16-bit lanes, so the blend of whole table rows vectorises. A true division
// per channel would dominate the build.
struct Divisor {
    std::uint16_t m;
    unsigned shift;
};

constexpr Divisor MakeDivisor(int k) {
    for (unsigned shift = 0; shift < 16; ++shift) {
        const std::uint32_t m = ((1u << (16 + shift)) + static_cast<std::uint32_t>(k) - 1u) /
                                static_cast<std::uint32_t>(k);
        if (m > 0xFFFFu) {
            continue;
        }
        bool exact = true;
        for (std::uint32_t x = 0; x <= 255u * static_cast<std::uint32_t>(k) && exact; ++x) {
            exact = ((x * m) >> (16 + shift)) == x / static_cast<std::uint32_t>(k);
        }
        if (exact) {
            return {static_cast<std::uint16_t>(m), shift};
        }
    }
    return {0, 0};
}

constexpr bool AllDivisorsFound() {
    for (int k = 2; k <= 18; ++k) {
        if (MakeDivisor(k).m == 0) {
            return false;
        }
    }
    return true;
}
static_assert(AllDivisorsFound());

// dst[i] = blend(a[i], b[i], t, k) for a run of entries that overlaps neither a nor b. Works
// byte by byte: the three channels blend alike and the zero top byte stays zero.
void BlendSpan(ColorValue* dst, const ColorValue* a, const ColorValue* b, std::size_t count, int t,
               int k) {
    static constexpr auto kDivisors = [] {
        std::array<Divisor, 19> d{};
        for (int i = 2; i <= 18; ++i) {
            d[static_cast<std::size_t>(i)] = MakeDivisor(i);
        }
        return d;
    }();
    const Divisor div = kDivisors[static_cast<std::size_t>(k)];
    const auto wa = static_cast<std::uint16_t>(k - t);
    const auto wb = static_cast<std::uint16_t>(t);
    auto* __restrict out = reinterpret_cast<unsigned char*>(dst);
    const auto* __restrict pa = reinterpret_cast<const unsigned char*>(a);
    const auto* __restrict pb = reinterpret_cast<const unsigned char*>(b);
    const std::size_t bytes = count * sizeof(ColorValue);
    for (std::size_t i = 0; i < bytes; ++i) {
        const auto x = static_cast<std::uint16_t>(pa[i] * wa + pb[i] * wb);
        const auto high = static_cast<std::uint16_t>((static_cast<std::uint32_t>(x) * div.m) >> 16);
        out[i] = static_cast<unsigned char>(high >> div.shift);
    }
}

// The table's entry count and byte size, or false when the byte count would overflow.
bool TableBytes(std::size_t& bytes) {
    const std::size_t entries = GetTableSize();
    if (entries > std::numeric_limits<std::size_t>::max() / sizeof(ColorValue)) {
        return false;
    }
    bytes = entries * sizeof(ColorValue);
    return true;
}

std::unique_ptr<ColorValue[]> AllocateTable() {
    std::size_t bytes = 0;
    if (!TableBytes(bytes)) {
        return nullptr;
    }
    return std::unique_ptr<ColorValue[]>(new (std::nothrow) ColorValue[bytes / sizeof(ColorValue)]);
}

} // namespace

ColorValue BlendColor(ColorValue a, ColorValue b, int t, int k) {
    const auto wa = static_cast<unsigned>(k - t);
    const auto wb = static_cast<unsigned>(t);
    const auto uk = static_cast<unsigned>(k);
    const unsigned r = (RedOf(a) * wa + RedOf(b) * wb) / uk;
    const unsigned g = (GreenOf(a) * wa + GreenOf(b) * wb) / uk;
    const unsigned bl = (BlueOf(a) * wa + BlueOf(b) * wb) / uk;
    return MakeColor(r, g, bl);
}

void FillColorTable(const ColorMap& colors, ColorValue* table) {
    const int k = GetLatticeStep();
    const int n = GetPointsPerAxis();
    const std::size_t plane = GetPlaneSize();
    const auto un = static_cast<std::size_t>(n);

    // Samples at the lattice points, in colour-map order (blue innermost).
    std::size_t next = 0;
    for (int r = 0; r < n; r += k) {
        for (int g = 0; g < n; g += k) {
            for (int b = 0; b < n; b += k) {
                table[r * plane + g * un + b] = colors[next++];
            }
        }
    }
    if (k == 1) {
        return;
    }
    // Along blue, on the lattice rows only.
    for (int r = 0; r < n; r += k) {
        for (int g = 0; g < n; g += k) {
            for (int b = 0; b < n - 1; b += k) {
                const std::size_t base = r * plane + g * un + b;
                for (int t = 1; t < k; ++t) {
                    table[base + t] = BlendColor(table[base], table[base + k], t, k);
                }
            }
        }
    }
    // Along green: whole rows between two lattice rows of a lattice red plane.
    for (int r = 0; r < n; r += k) {
        for (int g = 0; g < n - 1; g += k) {
            const std::size_t base = r * plane + g * un;
            for (int t = 1; t < k; ++t) {
                BlendSpan(table + base + t * un, table + base, table + base + k * un, un, t, k);
            }
        }
    }
    // Along red: whole planes between two lattice planes.
    for (int r = 0; r < n - 1; r += k) {
        const std::size_t base = r * plane;
        for (int t = 1; t < k; ++t) {
            BlendSpan(table + base + t * plane, table + base, table + base + k * plane, plane, t,
                      k);
        }
    }
}

CFilter::CFilter() = default;

CFilter::CFilter(std::string id, std::string displayName, const ColorValue (&colors)[kColorMapSize])
    : m_id(std::move(id)), m_displayName(std::move(displayName)) {
    std::memcpy(m_colorMap.data(), colors, sizeof(colors));
}

CFilter::CFilter(std::string id, std::string displayName, const ColorMap& colors)
    : m_id(std::move(id)), m_displayName(std::move(displayName)), m_colorMap(colors) {}

CFilter::CFilter(const CFilter& other)
    : m_id(other.m_id), m_displayName(other.m_displayName), m_type(other.m_type),
      m_visible(other.m_visible), m_inUse(other.m_inUse), m_identity(other.m_identity),
      m_colorMap(other.m_colorMap), m_refs(other.m_refs), m_repeat(other.m_repeat) {
    if (other.m_table) {
        // A copy whose table cannot be had is left without one, like a failed BuildTable.
        m_table = AllocateTable();
        if (m_table) {
            std::memcpy(m_table.get(), other.m_table.get(), GetTableSize() * sizeof(ColorValue));
        }
    }
}

CFilter::~CFilter() = default;

ColorValue CFilter::Transform(ColorValue colour) const {
    if (!m_table) {
        return colour;
    }
    return m_table[ColorIndex(colour)];
}

bool CFilter::BuildTable() {
    if (m_table) {
        return true;
    }
    std::unique_ptr<ColorValue[]> table = AllocateTable();
    if (!table) {
        return false;
    }
    FillColorTable(m_colorMap, table.get());
    m_table = std::move(table);
    return true;
}

void CFilter::FreeTable() {
    m_table.reset();
}

bool CFilter::GetRef(int index, CFilterRef& out) const {
    if (!IsReferenceFilter() || index < 0 || index >= GetRefCount()) {
        return false;
    }
    out = m_refs[static_cast<std::size_t>(index)];
    return true;
}

std::unique_ptr<CFilter> CreateNormalFilter() {
    ColorMap colors{};
    int next = 0;
    for (unsigned r = 0; r < kLatticeLevels; ++r) {
        for (unsigned g = 0; g < kLatticeLevels; ++g) {
            for (unsigned b = 0; b < kLatticeLevels; ++b) {
                colors[next++] = MakeColor(51 * r, 51 * g, 51 * b);
            }
        }
    }
    auto filter = std::make_unique<CFilter>("_normal", "normal", colors);
    filter->m_identity = 1;
    return filter;
}
