// Built into the library that holds the process's profile (the Win32 library on Windows, the
// core elsewhere), like the profile accessor itself.
#include "image/capture_image.h"

#include "shell/app_profile.h"

#include <limits>

void CCaptureImage::Blur() {
    const std::uint32_t radius = GetAppProfile().GetBlurRadius();
    // Anything beyond an int is as out of range as 6.
    Blur(radius <= static_cast<std::uint32_t>(std::numeric_limits<int>::max())
             ? static_cast<int>(radius)
             : -1);
}
