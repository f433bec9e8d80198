#include "authoring/filter_accuracy.h"

#include "authoring/ciede2000.h"
#include "engine/filter/image_quality.h"

#include <algorithm>
#include <array>
#include <memory>

namespace {

constexpr double kBinWidth = 0.001;
constexpr std::size_t kBins = 100000; // differences up to 100; larger ones share the last bin

class CHistogram {
public:
    CHistogram() : m_bins(kBins, 0) {}

    void Add(double value) {
        auto bin = static_cast<std::size_t>(value / kBinWidth);
        ++m_bins[std::min(bin, kBins - 1)];
        m_sum += value;
        m_max = std::max(m_max, value);
        ++m_count;
    }

    AccuracyFigures Figures() const {
        AccuracyFigures f;
        if (m_count == 0) {
            return f;
        }
        f.mean = m_sum / static_cast<double>(m_count);
        f.max = m_max;
        // The smallest bin edge with at least 95 % of the values below or in it.
        const std::uint64_t needed = (m_count * 95 + 99) / 100;
        std::uint64_t seen = 0;
        for (std::size_t i = 0; i < kBins; ++i) {
            seen += m_bins[i];
            if (seen >= needed) {
                f.p95 = std::min((static_cast<double>(i) + 1.0) * kBinWidth, m_max);
                break;
            }
        }
        return f;
    }

private:
    std::vector<std::uint32_t> m_bins;
    double m_sum = 0;
    double m_max = 0;
    std::uint64_t m_count = 0;
};

std::array<double, 256> LinearOfCodes() {
    std::array<double, 256> lut{};
    for (int c = 0; c < 256; ++c) {
        lut[static_cast<std::size_t>(c)] = SrgbCodeToLinear(c);
    }
    return lut;
}

// The Lab colour of every entry of the lattice's table at the quality.
std::vector<Lab> TableLab(const ColorMap& lattice, const CImageQuality& quality,
                          const std::array<double, 256>& linear) {
    const std::size_t size = quality.GetTableSize();
    std::unique_ptr<ColorValue[]> table(new ColorValue[size]);
    FillColorTable(lattice, quality, table.get());
    std::vector<Lab> lab(size);
    for (std::size_t i = 0; i < size; ++i) {
        const ColorValue c = table[i];
        lab[i] = LabFromLinear({linear[RedOf(c)], linear[GreenOf(c)], linear[BlueOf(c)]});
    }
    return lab;
}

} // namespace

std::vector<ColorValue> SampleColors(std::size_t count, std::uint64_t seed) {
    // splitmix64: the same sequence on every platform and standard library.
    std::vector<ColorValue> out(count);
    std::uint64_t state = seed;
    for (ColorValue& c : out) {
        state += 0x9E3779B97F4A7C15ull;
        std::uint64_t z = state;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        z ^= z >> 31;
        c = static_cast<ColorValue>(z & 0xFFFFFFu);
    }
    return out;
}

std::vector<std::vector<AccuracyFigures>> MeasureAccuracy(const std::vector<AccuracyCase>& cases,
                                                          const std::vector<ColorValue>* colours,
                                                          const CImageQuality& quality) {
    const std::array<double, 256> linear = LinearOfCodes();
    std::vector<std::vector<std::vector<Lab>>> tables(cases.size());
    std::vector<std::vector<CHistogram>> histograms(cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        for (const ColorMap& lattice : cases[i].lattices) {
            tables[i].push_back(TableLab(lattice, quality, linear));
        }
        histograms[i].resize(cases[i].lattices.size());
    }

    const std::size_t count = colours ? colours->size() : (std::size_t{1} << 24);
    for (std::size_t n = 0; n < count; ++n) {
        const ColorValue c = colours ? (*colours)[n] : static_cast<ColorValue>(n);
        const std::uint32_t index = quality.ColorIndex(c);
        const LinearRgb in{linear[RedOf(c)], linear[GreenOf(c)], linear[BlueOf(c)]};
        for (std::size_t i = 0; i < cases.size(); ++i) {
            const Lab exact = LabFromLinear(ApplyCvdModel(cases[i].model, in));
            for (std::size_t l = 0; l < tables[i].size(); ++l) {
                histograms[i][l].Add(Ciede2000(exact, tables[i][l][index]));
            }
        }
    }

    std::vector<std::vector<AccuracyFigures>> out(cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        for (const CHistogram& h : histograms[i]) {
            out[i].push_back(h.Figures());
        }
    }
    return out;
}
