// Feeds arbitrary bytes to the image-file reader, then takes whatever it accepts through the
// simulation and the PNG writer, as the filter tool would.

#include "authoring/picture.h"
#include "authoring/picture_file.h"
#include "authoring/picture_simulation.h"
#include "engine/filter/filter.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CPicture picture;
    std::string error;
    if (!DecodePicture(data, size, picture, error)) {
        // A refusal is always explained and never leaves half a picture behind.
        if (error.empty() || !picture.IsEmpty()) {
            std::abort();
        }
        return 0;
    }
    if (picture.GetWidth() < 1 || picture.GetHeight() < 1 ||
        !IsPlausiblePixelData(static_cast<std::uint64_t>(picture.GetWidth()) *
                                  static_cast<std::uint64_t>(picture.GetHeight()) / 8,
                              size)) {
        std::abort();
    }
    static const auto identity = CreateNormalFilter();
    const CPictureSimulation simulation(picture, CImageQuality());
    CPicture simulated;
    std::vector<unsigned char> png;
    if (!simulation.Apply(*identity, 1, simulated) || !EncodePng(simulated, png, error)) {
        std::abort();
    }
    return 0;
}
