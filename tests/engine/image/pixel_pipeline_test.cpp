// The optimised pixel loops against the plain per-pixel arithmetic, on random frames.
#include "engine/filter/image_quality.h"
#include "engine/image/pixel_pipeline.h"
#include "engine/image/pixel_workers.h"
#include "platform/cpu_features.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

std::size_t StrideOf(int width) {
    return (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
}

std::vector<unsigned char> RandomFrame(std::mt19937& rng, int width, int height) {
    std::vector<unsigned char> frame(StrideOf(width) * static_cast<std::size_t>(height));
    for (auto& b : frame) {
        b = static_cast<unsigned char>(rng());
    }
    return frame;
}

// A pass along rows (step 3) or columns (step stride) from a scratch copy, a division per
// channel: the binomial blur's arithmetic written out.
void ReferencePass(std::vector<unsigned char>& pixels, int width, int height, int radius,
                   std::size_t step) {
    std::vector<long> weights{1};
    for (int n = 1; n <= 2 * radius; ++n) {
        std::vector<long> next(weights.size() + 1, 0);
        for (std::size_t k = 0; k < weights.size(); ++k) {
            next[k] += weights[k];
            next[k + 1] += weights[k];
        }
        weights = next;
    }
    const std::size_t stride = StrideOf(width);
    const int along = step == 3 ? width : height;
    const std::vector<unsigned char> scratch = pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int at = step == 3 ? x : y;
            if (at < radius || at >= along - radius) {
                continue;
            }
            for (int c = 0; c < 3; ++c) {
                const std::size_t centre = y * stride + x * 3 + c;
                long sum = 0;
                for (int k = -radius; k <= radius; ++k) {
                    sum += scratch[centre + k * static_cast<std::ptrdiff_t>(step)] *
                           weights[k + radius];
                }
                pixels[centre] = static_cast<unsigned char>(sum >> (2 * radius));
            }
        }
    }
}

void ReferenceBlur(std::vector<unsigned char>& pixels, int width, int height, int radius) {
    if (radius >= 1 && radius <= 5) {
        ReferencePass(pixels, width, height, radius, 3);
        ReferencePass(pixels, width, height, radius, StrideOf(width));
    }
}

std::vector<ColorValue> RandomTable(std::mt19937& rng, const CImageQuality& quality) {
    std::vector<ColorValue> table(quality.GetTableSize());
    for (auto& c : table) {
        c = rng(); // a stray top byte must not reach the pixels
    }
    return table;
}

void Put(std::vector<unsigned char>& frame, int width, int x, int y, ColorValue c) {
    unsigned char* p = &frame[y * StrideOf(width) + x * 3];
    p[0] = static_cast<unsigned char>(BlueOf(c));
    p[1] = static_cast<unsigned char>(GreenOf(c));
    p[2] = static_cast<unsigned char>(RedOf(c));
}

// Index pass and table against ColorIndex and a per-pixel table read, at every index width.
void ExpectIndexAndTableExact(const CImageQuality& quality, const std::vector<unsigned char>& frame,
                              int width, int height, const std::vector<ColorValue>& table) {
    const std::size_t stride = StrideOf(width);
    const std::size_t count = static_cast<std::size_t>(width) * height;
    std::vector<std::uint32_t> expected(count);
    std::vector<unsigned char> expectedPixels = frame;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const unsigned char* p = &frame[y * stride + x * 3];
            const std::uint32_t index = quality.ColorIndex(MakeColor(p[2], p[1], p[0]));
            expected[y * width + x] = index;
            Put(expectedPixels, width, x, y, table[index]);
        }
    }
    std::vector<unsigned char> pixels = frame;
    if (quality.IsIndex16Bit()) {
        std::vector<std::uint16_t> index(count);
        BuildIndexBuffer(frame.data(), width, height, stride, quality, index.data());
        EXPECT_TRUE(std::equal(index.begin(), index.end(), expected.begin()));
        ApplyColorTable(index.data(), table.data(), width, height, stride, pixels.data());
    } else {
        std::vector<std::uint32_t> index(count);
        BuildIndexBuffer(frame.data(), width, height, stride, quality, index.data());
        EXPECT_EQ(index, expected);
        ApplyColorTable(index.data(), table.data(), width, height, stride, pixels.data());
    }
    // Padding bytes keep the frame's values.
    EXPECT_EQ(pixels, expectedPixels) << "quality " << quality.GetLevel() << " width " << width;
}

// Runs of repeated pixels shorter than `longest` drawn from `palette`, every other one a single
// pixel: flat screen areas, and single pixels between two runs of one colour.
std::vector<unsigned char> RunFrame(std::mt19937& rng, int width, int height,
                                    const std::vector<ColorValue>& palette, int longest) {
    std::vector<unsigned char> frame(StrideOf(width) * static_cast<std::size_t>(height), 0xAB);
    ColorValue c = 0;
    int left = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (left-- == 0) {
                c = palette[rng() % palette.size()];
                left = rng() % 2 == 0 ? 0 : static_cast<int>(rng() % longest);
            }
            Put(frame, width, x, y, c);
        }
    }
    return frame;
}

// How the loops run: the blur's instruction set, and how many bands of rows a frame is split
// into (1: the calling thread alone). Bands are forced down to single rows, below the blur's
// radius, so that a band's halo reaches over its neighbours.
struct Machine {
    bool avx2;
    int workers;
};

class PixelPipelineTest : public ::testing::TestWithParam<Machine> {
protected:
    void SetUp() override {
        SetAvx2AllowedForTesting(GetParam().avx2);
        SetPixelWorkersForTesting(GetParam().workers, 1);
    }
    void TearDown() override {
        SetAvx2AllowedForTesting(true);
        SetPixelWorkersForTesting(0, 0);
    }
};

INSTANTIATE_TEST_SUITE_P(Machines, PixelPipelineTest,
                         ::testing::Values(Machine{false, 1}, Machine{true, 1}, Machine{false, 3},
                                           Machine{true, 8}),
                         [](const auto& paramInfo) {
                             return std::string(paramInfo.param.avx2 ? "Avx2" : "Portable") +
                                    std::to_string(paramInfo.param.workers) + "Bands";
                         });

// Random frames, and flat areas shorter and longer than a vector step, starting and ending
// anywhere in it, with single pixels between two runs of one colour. Two of the colours are
// neighbouring codes, one index apart at some qualities and the same index at others.
TEST_P(PixelPipelineTest, IndexAndTableMatchPerPixelArithmetic) {
    std::mt19937 rng(7);
    for (int quality : {1, 7, 8, 18}) {
        const CImageQuality q(quality);
        const std::vector<ColorValue> table = RandomTable(rng, q);
        for (int width : {1, 2, 3, 4, 5, 7, 8, 9, 10, 11, 13, 17, 64, 100}) {
            const int height = 1 + static_cast<int>(rng() % 5);
            ExpectIndexAndTableExact(q, RandomFrame(rng, width, height), width, height, table);
            ExpectIndexAndTableExact(
                q, RunFrame(rng, width, height, {0xFFFFFF, 0x0000FF, 0, 0x123456, 0x123457}, 10),
                width, height, table);
            ExpectIndexAndTableExact(
                q, RunFrame(rng, width, 40, {0x102030, 0x102031, 0xF0E0D0}, 20), width, 40, table);
        }
        // Bytes that look like a run of the pixel before the first one.
        std::vector<unsigned char> frame = {0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0};
        ExpectIndexAndTableExact(q, frame, 4, 1, table);
    }
}

// Every channel value at every position of the vector loops (sixteen pixels a step for the
// index, eight for the table), plus the rest of a row after the last full step, at every
// quality: both index widths, every lattice step the vector arithmetic divides by.
std::vector<unsigned char> EveryValueAtEveryLane(int width, int height) {
    std::vector<unsigned char> frame(StrideOf(width) * static_cast<std::size_t>(height), 0x5A);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            unsigned char* p = &frame[y * StrideOf(width) + x * 3];
            p[0] = static_cast<unsigned char>(x + y);
            p[1] = static_cast<unsigned char>(3 * x + 5 * y + 1);
            p[2] = static_cast<unsigned char>(7 * x + 11 * y + 2);
        }
    }
    return frame;
}

TEST_P(PixelPipelineTest, EveryQualityMatchesPerPixelArithmeticInEveryLane) {
    std::mt19937 rng(19);
    const int width = 16 * 16 + 5;
    const auto frame = EveryValueAtEveryLane(width, 16);
    for (int quality = 0; quality <= 18; ++quality) {
        const CImageQuality q(quality);
        ExpectIndexAndTableExact(q, frame, width, 16, RandomTable(rng, q));
    }
}

// Random frames of every size around the radius, and a saturated one: the largest sums, where a
// 16-bit sum would overflow at radius 5.
TEST_P(PixelPipelineTest, BlurMatchesTwoPassReference) {
    std::mt19937 rng(11);
    for (int radius = 0; radius <= 6; ++radius) {
        for (auto [width, height] :
             std::vector<std::pair<int, int>>{{1, 1},
                                              {2 * radius, 40},
                                              {2 * radius + 1, 2 * radius + 1},
                                              {40, 2 * radius},
                                              {37, 23},
                                              {64, 3},
                                              {5, 64},
                                              {200, 17},
                                              {30, 30}}) {
            if (width <= 0 || height <= 0) {
                continue;
            }
            auto pixels = width == 30 ? std::vector<unsigned char>(StrideOf(30) * 30, 255)
                                      : RandomFrame(rng, width, height);
            auto expected = pixels;
            ReferenceBlur(expected, width, height, radius);
            ASSERT_TRUE(BlurPixels(pixels.data(), width, height, StrideOf(width), radius));
            EXPECT_EQ(pixels, expected) << "radius " << radius << ", " << width << "x" << height;
        }
    }
}

} // namespace
