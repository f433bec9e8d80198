#pragma once

#include "engine/filter/color.h"
#include "engine/filter/image_quality.h"
#include "engine/image/screen_copy.h"
#include "engine/image/screen_source.h"

#include <cstddef>
#include <cstdint>
#include <memory>

class CFilter;
class CLookAlikeMask;

// What taking pixels from a screen copy came to.
enum class CaptureResult {
    Failed,    // nothing taken: the last capture stays as it was
    Unchanged, // the same pixels as the last capture: nothing was touched
    Changed,   // new original pixels; their indices are built by BuildIndex
};

// One rectangle of screen pixels in three forms: as copied from the screen (the original
// pixels), as one lattice index per pixel, and as shown after filtering and blurring (the
// display pixels, which live in the drawing surface). Finding each pixel's lattice index is the
// costly part of filtering, so it happens once per screen copy; a filter change afterwards is
// one table read per pixel.
//
// Empty (width and height 0, no buffers) until the first successful Capture.
class CCaptureImage {
public:
    // The source must outlive the image. The pixels are indexed at the quality, the one the
    // filters' tables are built at.
    CCaptureImage(IScreenSource& source, const CImageQuality& quality);
    CCaptureImage(const CCaptureImage&) = delete;
    CCaptureImage& operator=(const CCaptureImage&) = delete;
    virtual ~CCaptureImage();

    // Copies the width x height screen rectangle at the screen point (x, y); parts outside the
    // screen read black. A capture of the current size reuses every buffer. When the screen
    // cannot be read at the current size, the last capture stays (display pixels back to its
    // original pixels) and false is returned; any other failure leaves the image empty.
    bool Capture(int x, int y, int width, int height);

    // Takes the width x height rectangle at the screen point (x, y) from a copy of the screen
    // made for several owners at once; parts outside the screen read black. Pixels equal to the
    // last capture's change nothing (the display pixels keep the picture made from them); new
    // pixels replace the original pixels only, and BuildIndex must follow before ApplyFilter.
    // A new size allocates afresh (a failure there leaves the image empty); a copy that does
    // not hold the rectangle's part on the screen fails and leaves the last capture.
    CaptureResult CaptureFrom(const CScreenCopy& copy, int x, int y, int width, int height);
    // Computes every pixel's lattice index from the original pixels.
    void BuildIndex();

    // Recomputes the display pixels through the filter: the original pixels for the identity,
    // a null filter or a filter without a colour table of this image's quality; otherwise the
    // table entry of every pixel's index. Earlier filtering and blurring never accumulate.
    void ApplyFilter(const CFilter* filter);

    // Dims every display pixel whose filtered colour is not a look-alike, at the distance, of
    // the filtered colour of the pixel at (column, row); the filtered colours are those
    // ApplyFilter makes for the filter (before any blur: the display pixels may be blurred).
    // Returns the number of look-alike pixels; 0, touching nothing, while empty or for a
    // pixel outside the image.
    std::size_t HighlightLookAlikes(const CFilter* filter, int column, int row, double distance,
                                    CLookAlikeMask& mask);

    // ApplyFilter and HighlightLookAlikes in one pass, for a picture that is not blurred; the
    // filter alone for a pixel outside the image.
    std::size_t ApplyFilterHighlighted(const CFilter* filter, int column, int row, double distance,
                                       CLookAlikeMask& mask);

    // Softens the display pixels with the binomial blur of the radius; 0 or anything outside
    // 1..5 changes nothing.
    void Blur(int radius);
    // The radius a stored setting stands for: anything beyond 5 blurs nothing.
    static int BlurRadiusOf(std::uint32_t setting) {
        return setting <= 5 ? static_cast<int>(setting) : 0;
    }

    // Colours of the centre pixel ((width - 1) / 2, (height - 1) / 2) and of the top-left
    // pixel, from the original or the display pixels; 0 while empty.
    ColorValue GetCenterColor(bool original) const;
    ColorValue GetTopLeftColor(bool original) const;

    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    std::uint32_t GetStride() const { return m_stride; }
    std::uint32_t GetImageSize() const { return m_imageSize; }
    bool IsEmpty() const { return m_surface == nullptr; }
    // The drawing surface windows copy or stretch the image from; none while empty.
    SurfaceHandle GetSurface() const;

    // Direct views of the buffers (null while empty), for tests and owners that read pixels.
    const unsigned char* GetDisplayPixels() const;
    const unsigned char* GetOriginalPixels() const { return m_original.get(); }
    // One of the two is set, by the quality's IsIndex16Bit().
    const std::uint16_t* GetIndex16() const { return m_index16.get(); }
    const std::uint32_t* GetIndex32() const { return m_index32.get(); }

    void Release();

private:
    bool Allocate(int width, int height);
    // The filter's table when the display pixels are its entries; null when they are copies of
    // the original pixels.
    const ColorValue* TableOf(const CFilter* filter) const;
    ColorValue ReadColor(bool original, int column, int row) const;

    IScreenSource& m_source;
    CImageQuality m_quality;
    // The copy version and rectangle the original pixels were last taken from (CaptureFrom);
    // version 0 when they came from anywhere else.
    std::uint64_t m_takenVersion = 0;
    ScreenArea m_takenArea;
    std::unique_ptr<IPixelSurface> m_surface;
    int m_width = 0;
    int m_height = 0;
    std::uint32_t m_stride = 0;
    std::uint32_t m_imageSize = 0;
    std::unique_ptr<unsigned char[]> m_original;
    std::unique_ptr<std::uint16_t[]> m_index16;
    std::unique_ptr<std::uint32_t[]> m_index32;
};
