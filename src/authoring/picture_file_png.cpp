// The image-file codec of the native build: libpng. libpng reports errors by a callback that
// must not return, so each libpng session runs in a function whose locals are all trivial and
// the callback jumps back to the caller, which owns every C++ object.

#include "authoring/picture_file.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <new>

namespace {

struct PngSession {
    const unsigned char* data = nullptr;
    std::size_t size = 0;
    std::size_t offset = 0;
    std::vector<unsigned char>* out = nullptr;
    char message[256] = {};
    std::jmp_buf jump;
};

PngSession& SessionOf(png_structp png) {
    return *static_cast<PngSession*>(png_get_error_ptr(png));
}

[[noreturn]] void OnPngError(png_structp png, png_const_charp message) {
    PngSession& session = SessionOf(png);
    std::snprintf(session.message, sizeof session.message, "%s",
                  message != nullptr ? message : "unknown error");
    std::longjmp(session.jump, 1);
}

// Warnings (a damaged ancillary chunk, an unknown profile) do not stop a picture.
void OnPngWarning(png_structp, png_const_charp) {}

void ReadFromMemory(png_structp png, png_bytep target, std::size_t count) {
    PngSession& session = *static_cast<PngSession*>(png_get_io_ptr(png));
    if (count > session.size - session.offset) {
        png_error(png, "the file is truncated");
    }
    std::memcpy(target, session.data + session.offset, count);
    session.offset += count;
}

void WriteToMemory(png_structp png, png_bytep source, std::size_t count) {
    PngSession& session = *static_cast<PngSession*>(png_get_io_ptr(png));
    bool failed = false;
    try {
        session.out->insert(session.out->end(), source, source + count);
    } catch (...) {
        failed = true;
    }
    if (failed) {
        png_error(png, "out of memory");
    }
}

void FlushMemory(png_structp) {}

// Splits a row of blue, green, red, alpha into the picture's pixels and alpha plane.
void SplitAlphaRow(const unsigned char* bgra, int width, unsigned char* bgr, unsigned char* alpha) {
    for (int x = 0; x < width; ++x, bgra += 4, bgr += 3) {
        bgr[0] = bgra[0];
        bgr[1] = bgra[1];
        bgr[2] = bgra[2];
        alpha[x] = bgra[3];
    }
}

// Everything between png_read_info and png_read_end. Only trivial locals: an error jumps out.
void ReadPngBody(png_structp png, png_infop info, PngSession& session, CPicture& picture,
                 std::unique_ptr<unsigned char[]>& scratch) {
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    const int colorType = png_get_color_type(png, info);
    if (!IsPictureSizeAllowed(width, height)) {
        std::snprintf(session.message, sizeof session.message,
                      "%lu x %lu pixels is larger than the tool handles",
                      static_cast<unsigned long>(width), static_cast<unsigned long>(height));
        std::longjmp(session.jump, 1);
    }
    // The stored rows (one filter byte each) must fit what the file's bytes can inflate to.
    const std::uint64_t stored = static_cast<std::uint64_t>(height) *
                                 (static_cast<std::uint64_t>(png_get_rowbytes(png, info)) + 1);
    if (!IsPlausiblePixelData(stored, session.size)) {
        std::snprintf(session.message, sizeof session.message,
                      "the header claims %lu x %lu pixels, more than the file can hold",
                      static_cast<unsigned long>(width), static_cast<unsigned long>(height));
        std::longjmp(session.jump, 1);
    }

    bool hasAlpha = (colorType & PNG_COLOR_MASK_ALPHA) != 0;
    if (colorType == PNG_COLOR_TYPE_PALETTE) {
        png_set_palette_to_rgb(png);
    }
    if (png_get_valid(png, info, PNG_INFO_tRNS)) {
        png_set_tRNS_to_alpha(png);
        hasAlpha = true;
    }
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) {
        png_set_expand_gray_1_2_4_to_8(png);
        png_set_gray_to_rgb(png);
    }
    png_set_scale_16(png);
    png_set_bgr(png);
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    const std::size_t rowBytes = png_get_rowbytes(png, info);
    if (rowBytes != static_cast<std::size_t>(width) * (hasAlpha ? 4u : 3u)) {
        png_error(png, "unexpected row layout");
    }
    if (!picture.Allocate(static_cast<int>(width), static_cast<int>(height), hasAlpha)) {
        png_error(png, "out of memory");
    }
    const int w = static_cast<int>(width);
    const int h = static_cast<int>(height);
    if (!hasAlpha) {
        for (int pass = 0; pass < passes; ++pass) {
            for (int y = 0; y < h; ++y) {
                png_read_row(png, picture.GetRow(y), nullptr);
            }
        }
    } else if (passes == 1) {
        scratch.reset(new (std::nothrow) unsigned char[rowBytes]);
        if (!scratch) {
            png_error(png, "out of memory");
        }
        for (int y = 0; y < h; ++y) {
            png_read_row(png, scratch.get(), nullptr);
            SplitAlphaRow(scratch.get(), w, picture.GetRow(y), picture.GetAlphaRow(y));
        }
    } else {
        // Interlaced passes revisit every row: keep the whole picture until the last one.
        scratch.reset(new (std::nothrow) unsigned char[rowBytes * static_cast<std::size_t>(h)]());
        if (!scratch) {
            png_error(png, "out of memory");
        }
        for (int pass = 0; pass < passes; ++pass) {
            for (int y = 0; y < h; ++y) {
                png_read_row(png, scratch.get() + rowBytes * static_cast<std::size_t>(y), nullptr);
            }
        }
        for (int y = 0; y < h; ++y) {
            SplitAlphaRow(scratch.get() + rowBytes * static_cast<std::size_t>(y), w,
                          picture.GetRow(y), picture.GetAlphaRow(y));
        }
    }
    png_read_end(png, nullptr);
}

// The jump target of a read: false when libpng (or a refusal above) gave up. Nothing here
// changes after setjmp, so nothing is clobbered by the jump.
bool RunReadSession(png_structp png, png_infop info, PngSession& session, CPicture& picture,
                    std::unique_ptr<unsigned char[]>& scratch) {
    if (setjmp(session.jump) != 0) {
        return false;
    }
    png_set_read_fn(png, &session, ReadFromMemory);
    png_set_user_limits(png, CPicture::kMaxSide, CPicture::kMaxSide);
    // Text and profile chunks are not used; a few megabytes of them is already odd.
    png_set_chunk_malloc_max(png, 8u << 20);
#ifdef ZEZIRIV_FUZZING
    png_set_crc_action(png, PNG_CRC_QUIET_USE, PNG_CRC_QUIET_USE);
#endif
    ReadPngBody(png, info, session, picture, scratch);
    return true;
}

bool DecodePng(const unsigned char* data, std::size_t size, CPicture& picture, std::string& error) {
    PngSession session;
    session.data = data;
    session.size = size;
    png_structp png =
        png_create_read_struct(PNG_LIBPNG_VER_STRING, &session, OnPngError, OnPngWarning);
    if (png == nullptr) {
        error = "out of memory";
        return false;
    }
    png_infop info = png_create_info_struct(png);
    std::unique_ptr<unsigned char[]> scratch;
    const bool ok = info != nullptr && RunReadSession(png, info, session, picture, scratch);
    if (!ok) {
        picture.Release();
        error = info != nullptr ? std::string("damaged or unsupported PNG: ") + session.message
                                : std::string("out of memory");
    }
    png_destroy_read_struct(&png, info != nullptr ? &info : nullptr, nullptr);
    return ok;
}

// One row in blue, green, red, alpha order for the writer.
void JoinAlphaRow(const unsigned char* bgr, const unsigned char* alpha, int width,
                  unsigned char* bgra) {
    for (int x = 0; x < width; ++x, bgra += 4, bgr += 3) {
        bgra[0] = bgr[0];
        bgra[1] = bgr[1];
        bgra[2] = bgr[2];
        bgra[3] = alpha[x];
    }
}

void WritePngBody(png_structp png, png_infop info, const CPicture& picture,
                  unsigned char* rowScratch) {
    const int w = picture.GetWidth();
    const int h = picture.GetHeight();
    png_set_IHDR(png, info, static_cast<png_uint_32>(w), static_cast<png_uint_32>(h), 8,
                 picture.HasAlpha() ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_set_bgr(png);
    for (int y = 0; y < h; ++y) {
        if (picture.HasAlpha()) {
            JoinAlphaRow(picture.GetRow(y), picture.GetAlphaRow(y), w, rowScratch);
            png_write_row(png, rowScratch);
        } else {
            png_write_row(png, picture.GetRow(y));
        }
    }
    png_write_end(png, info);
}

bool RunWriteSession(png_structp png, png_infop info, PngSession& session, const CPicture& picture,
                     unsigned char* rowScratch) {
    if (setjmp(session.jump) != 0) {
        return false;
    }
    png_set_write_fn(png, &session, WriteToMemory, FlushMemory);
    WritePngBody(png, info, picture, rowScratch);
    return true;
}

} // namespace

bool DecodePicture(const unsigned char* data, std::size_t size, CPicture& picture,
                   std::string& error) {
    picture.Release();
    if (size >= 8 && png_sig_cmp(data, 0, 8) == 0) {
        return DecodePng(data, size, picture, error);
    }
    if (size >= 2 && data[0] == 'B' && data[1] == 'M') {
        error = "BMP pictures are read by the Windows build of the tool; this one reads PNG";
        return false;
    }
    error = "not a PNG or BMP picture";
    return false;
}

bool EncodePng(const CPicture& picture, std::vector<unsigned char>& out, std::string& error) {
    out.clear();
    if (picture.IsEmpty()) {
        error = "no picture to write";
        return false;
    }
    std::unique_ptr<unsigned char[]> rowScratch(
        new (std::nothrow) unsigned char[static_cast<std::size_t>(picture.GetWidth()) * 4]);
    if (!rowScratch) {
        error = "out of memory";
        return false;
    }
    PngSession session;
    session.out = &out;
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, &session, OnPngError, OnPngWarning);
    if (png == nullptr) {
        error = "out of memory";
        return false;
    }
    png_infop info = png_create_info_struct(png);
    const bool ok =
        info != nullptr && RunWriteSession(png, info, session, picture, rowScratch.get());
    if (!ok) {
        error = info != nullptr ? std::string("cannot encode the PNG: ") + session.message
                                : std::string("out of memory");
    }
    png_destroy_write_struct(&png, info != nullptr ? &info : nullptr);
    if (!ok) {
        out.clear();
    }
    return ok;
}
