#include "authoring/picture_file.h"
#include "picture_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace {

namespace fs = std::filesystem;

// The 5 x 3 picture of tests/authoring/pictures (see make-pictures there).
const ColorValue kColors[15] = {
    MakeColor(255, 0, 0),     MakeColor(0, 255, 0),     MakeColor(0, 0, 255),
    MakeColor(255, 255, 255), MakeColor(0, 0, 0),       MakeColor(51, 102, 153),
    MakeColor(204, 153, 51),  MakeColor(128, 128, 128), MakeColor(18, 52, 86),
    MakeColor(254, 220, 186), MakeColor(1, 2, 3),       MakeColor(240, 240, 240),
    MakeColor(127, 127, 127), MakeColor(0, 255, 255),   MakeColor(255, 0, 255)};
const unsigned char kAlpha[15] = {255, 240, 200, 160, 120, 100, 80, 60, 40, 20, 10, 5, 1, 128, 64};
const unsigned char kGrey[15] = {0,   17,  34,  51,  68,  85,  102, 119,
                                 136, 153, 170, 187, 204, 221, 255};

std::string PicturePath(const char* name) {
    return std::string(ZEZIRIV_PICTURE_DIR) + "/" + name;
}

std::vector<unsigned char> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool Decode(const std::vector<unsigned char>& bytes, CPicture& picture, std::string& error) {
    return DecodePicture(bytes.data(), bytes.size(), picture, error);
}

// A scratch folder per test, removed afterwards.
class PictureFileTest : public ::testing::Test {
protected:
    std::string Path(const char* name) const { return (m_dir / name).string(); }
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(m_dir)) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }

    filter_files::ScratchDir m_scratch;
    const fs::path m_dir{m_scratch.Path()};
};

struct StoredForm {
    const char* file;
    bool alpha;
    bool grey;
};

// Every stored form arrives as 8-bit RGB, or RGBA when the file has transparency, with the
// colours as stored (no gamma or colour management).
const StoredForm kStoredForms[] = {
    {"rgb.png", false, false},
    {"rgba.png", true, false},
    {"rgba_interlaced.png", true, false},
    {"grey.png", false, true},
    {"palette.png", false, false},
    {"palette_alpha.png", true, false},
    {"rgb16.png", false, false},
    {"rgba16.png", true, false},
#ifdef _WIN32
    {"rgb.bmp", false, false},
    {"palette.bmp", false, false},
#endif
};

TEST_F(PictureFileTest, StoredFormsDecodeToTheirColours) {
    for (const StoredForm& form : kStoredForms) {
        SCOPED_TRACE(form.file);
        CPicture picture;
        std::string error;
        ASSERT_TRUE(ReadPictureFile(PicturePath(form.file), picture, error)) << error;
        ASSERT_EQ(picture.GetWidth(), 5);
        ASSERT_EQ(picture.GetHeight(), 3);
        EXPECT_EQ(picture.GetStride(), 16u);
        EXPECT_EQ(picture.HasAlpha(), form.alpha);
        for (int i = 0; i < 15; ++i) {
            const ColorValue expected =
                form.grey ? MakeColor(kGrey[i], kGrey[i], kGrey[i]) : kColors[i];
            EXPECT_EQ(picture.GetColor(i % 5, i / 5), expected) << "pixel " << i;
            if (form.alpha) {
                EXPECT_EQ(picture.GetAlphaRow(i / 5)[i % 5], kAlpha[i]) << "pixel " << i;
            }
        }
    }
}

#ifndef _WIN32
TEST_F(PictureFileTest, NativeBuildNamesBmpAsUnsupported) {
    CPicture picture;
    std::string error;
    EXPECT_FALSE(ReadPictureFile(PicturePath("rgb.bmp"), picture, error));
    EXPECT_NE(error.find("BMP"), std::string::npos) << error;
}
#endif

// Every stored form is read as 8-bit RGB or RGBA (above): what is written is always one of the
// two, at sizes around the row lengths.
TEST_F(PictureFileTest, RoundTripsKeepEveryPixelAndAlpha) {
    struct Case {
        int width;
        int height;
        bool alpha;
    };
    const Case cases[] = {{1, 1, false},  {1, 1, true},  {2, 3, false}, {3, 2, true},
                          {5, 7, false},  {7, 5, true},  {9, 1, false}, {1, 9, true},
                          {33, 17, true}, {64, 3, false}};
    std::uint32_t seed = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " alpha " << c.alpha);
        CPicture original;
        ASSERT_TRUE(original.Allocate(c.width, c.height, c.alpha));
        FillRandom(original, seed++);
        const std::string path = Path("round.png");
        std::string error;
        ASSERT_TRUE(WritePictureFile(path, original, error)) << error;
        CPicture back;
        ASSERT_TRUE(ReadPictureFile(path, back, error)) << error;
        EXPECT_TRUE(SamePixels(original, back));
    }
}

// A PNG with the given header and no pixel data worth the name.
std::vector<unsigned char> PngWithHeader(std::uint32_t width, std::uint32_t height) {
    std::vector<unsigned char> bytes = ReadBytes(PicturePath("rgb.png"));
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        bytes[at] = static_cast<unsigned char>(v >> 24);
        bytes[at + 1] = static_cast<unsigned char>(v >> 16);
        bytes[at + 2] = static_cast<unsigned char>(v >> 8);
        bytes[at + 3] = static_cast<unsigned char>(v);
    };
    put32(16, width);
    put32(20, height);
    // The header chunk's checksum over its type and data, so only the size is wrong.
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 12; i < 29; ++i) {
        crc ^= bytes[i];
        for (int k = 0; k < 8; ++k) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    put32(29, crc ^ 0xFFFFFFFFu);
    return bytes;
}

#ifdef _WIN32
std::vector<unsigned char> BmpWithHeader(std::int32_t width, std::int32_t height) {
    std::vector<unsigned char> bytes = ReadBytes(PicturePath("rgb.bmp"));
    std::memcpy(&bytes[18], &width, 4);
    std::memcpy(&bytes[22], &height, 4);
    return bytes;
}

std::vector<unsigned char> BmpHead(std::size_t bytes) {
    std::vector<unsigned char> all = ReadBytes(PicturePath("rgb.bmp"));
    all.resize(bytes);
    return all;
}

#endif

TEST_F(PictureFileTest, BadInputEndsInOneMessageAndNoPicture) {
    const std::vector<unsigned char> good = ReadBytes(PicturePath("rgb.png"));
    ASSERT_GT(good.size(), 100u);
    std::vector<unsigned char> truncated(good.begin(), good.begin() + good.size() / 2);
    std::vector<unsigned char> corrupt = good;
    const std::string idat = "IDAT";
    const auto data = std::search(good.begin(), good.end(), idat.begin(), idat.end());
    ASSERT_NE(data, good.end());
    corrupt[static_cast<std::size_t>(data - good.begin()) + 6] ^=
        0x55; // pixel data's checksum fails
    const std::string text = "this is not a picture";
    const std::vector<unsigned char> signatureOnly(good.begin(), good.begin() + 8);
    struct Case {
        const char* name;
        std::vector<unsigned char> bytes;
    };
    const Case cases[] = {
        {"empty", {}},
        {"text", std::vector<unsigned char>(text.begin(), text.end())},
        {"signature only", signatureOnly},
        {"truncated", truncated},
        {"corrupt", corrupt},
        {"100000 x 100000", PngWithHeader(100000, 100000)},
        {"20000 x 20000", PngWithHeader(20000, 20000)},
        {"10000 x 10000 in a few bytes", PngWithHeader(10000, 10000)},
        {"zero width", PngWithHeader(0, 3)},
#ifdef _WIN32
        {"BMP 100000 x 100000", BmpWithHeader(100000, 100000)},
        {"BMP 10000 x 10000 in a few bytes", BmpWithHeader(10000, 10000)},
        {"BMP truncated", BmpHead(40)},
#endif
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CPicture picture;
        std::string error;
        EXPECT_FALSE(Decode(c.bytes, picture, error));
        EXPECT_TRUE(picture.IsEmpty());
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    }
}

TEST_F(PictureFileTest, FailedWritesLeaveNoFileAndTheTargetAlone) {
    CPicture picture;
    ASSERT_TRUE(picture.Allocate(4, 4, false));
    std::string error;
    // A folder that does not exist: nothing is created.
    EXPECT_FALSE(WritePictureFile(Path("missing/out.png"), picture, error));
    EXPECT_FALSE(error.empty());
    // (A target that cannot be replaced, a folder, is written to by the filter tool's picture
    // check, which finds no partial file and no scratch file left.)
    // An existing file is replaced whole, and no scratch file stays beside it.
    std::ofstream(Path("old.png")) << "old contents";
    ASSERT_TRUE(WritePictureFile(Path("old.png"), picture, error)) << error;
    CPicture back;
    EXPECT_TRUE(ReadPictureFile(Path("old.png"), back, error)) << error;
    EXPECT_EQ(Entries(), std::vector<std::string>{"old.png"});
}

#ifndef _WIN32
TEST_F(PictureFileTest, PipesAndLinksAreWrittenThroughNotReplaced) {
    CPicture picture;
    ASSERT_TRUE(picture.Allocate(3, 3, true));
    FillRandom(picture, 7);
    std::string error;

    std::ofstream(Path("real.png")) << "old contents";
    fs::create_symlink("real.png", m_dir / "link.png");
    ASSERT_TRUE(WritePictureFile(Path("link.png"), picture, error)) << error;
    EXPECT_TRUE(fs::is_symlink(m_dir / "link.png"));
    CPicture back;
    ASSERT_TRUE(ReadPictureFile(Path("real.png"), back, error)) << error;
    EXPECT_TRUE(SamePixels(picture, back));

    const std::string fifo = Path("pipe");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::vector<unsigned char> received;
    std::thread reader([&] { received = ReadBytes(fifo); });
    const bool written = WritePictureFile(fifo, picture, error);
    reader.join();
    EXPECT_TRUE(written) << error;
    EXPECT_TRUE(fs::is_fifo(fifo));
    CPicture piped;
    ASSERT_TRUE(Decode(received, piped, error)) << error;
    EXPECT_TRUE(SamePixels(picture, piped));
}
#endif

} // namespace
