// The benchmarks' fast exact model against the model's definition: a baseline that computed
// something else would make every ratio against it meaningless.
#include "exact_model.h"

#include "engine/image/pixel_workers.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <vector>

namespace {

std::size_t StrideOf(int width) {
    return (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
}

struct NamedMatrix {
    const char* name;
    double m[3][3];
};

// A projection, a matrix with negative weights and sums above one (results clamped at both
// ends), and the identity (a pure decode-encode round trip).
const NamedMatrix kMatrices[] = {
    {"protan", {{0.112383, 0.887617, 0.0}, {0.112383, 0.887617, 0.0}, {0.004006, -0.004006, 1.0}}},
    {"anomalous", {{1.2, -0.4, 0.3}, {-0.3, 1.5, -0.2}, {0.1, -0.6, 1.4}}},
    {"identity", {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}},
};

// 64 levels per channel, black and white among them, each colour once and then as a run of
// random length, rows of a width no vector step divides.
std::vector<unsigned char> GridFrame(int width, int& height) {
    std::mt19937 rng(5);
    std::vector<unsigned char> colours;
    for (int r = 0; r < 64; ++r) {
        for (int g = 0; g < 64; ++g) {
            for (int b = 0; b < 64; ++b) {
                const unsigned char c[3] = {static_cast<unsigned char>(b * 255 / 63),
                                            static_cast<unsigned char>(g * 255 / 63),
                                            static_cast<unsigned char>(r * 255 / 63)};
                const int repeats = rng() % 8 == 0 ? 1 + static_cast<int>(rng() % 12) : 1;
                for (int k = 0; k < repeats; ++k) {
                    colours.insert(colours.end(), c, c + 3);
                }
            }
        }
    }
    const std::size_t pixels = colours.size() / 3;
    height = static_cast<int>((pixels + width - 1) / width);
    std::vector<unsigned char> frame(StrideOf(width) * height, 0);
    for (std::size_t i = 0; i < pixels; ++i) {
        const std::size_t y = i / width;
        const std::size_t x = i % width;
        for (int c = 0; c < 3; ++c) {
            frame[y * StrideOf(width) + x * 3 + c] = colours[i * 3 + c];
        }
    }
    return frame;
}

TEST(ExactModel, WithinOneCodeOfTheDefinitionOnTheWorkerThreads) {
    SetPixelWorkersForTesting(3, 1);
    const int width = 509;
    int height = 0;
    const auto frame = GridFrame(width, height);
    for (const NamedMatrix& matrix : kMatrices) {
        SCOPED_TRACE(matrix.name);
        const CExactModel model(matrix.m);
        std::vector<unsigned char> out(frame.size(), 0xEE);
        model.Apply(frame.data(), width, height, StrideOf(width), out.data());
        std::vector<unsigned char> single(frame.size(), 0xEE);
        model.ApplyRows(frame.data(), width, height, StrideOf(width), single.data());
        EXPECT_EQ(out, single);

        int off = 0;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const std::size_t at = y * StrideOf(width) + x * 3;
                unsigned char expected[3];
                ExactModelReference(matrix.m, &frame[at], expected);
                for (int c = 0; c < 3; ++c) {
                    ASSERT_LE(std::abs(out[at + c] - expected[c]), 1) << x << "," << y;
                    off += out[at + c] != expected[c];
                }
            }
            for (std::size_t pad = width * 3; pad < StrideOf(width); ++pad) {
                ASSERT_EQ(out[y * StrideOf(width) + pad], 0xEE);
            }
        }
        // The encode table's resolution shows in a few codes (0.7 % for the projection), not in
        // many.
        EXPECT_LT(off, width * height * 3 / 100);
    }
    SetPixelWorkersForTesting(0, 0);
}

} // namespace
