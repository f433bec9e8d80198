// Built into the library that holds the process's profile (the Win32 library on Windows, the
// core elsewhere), like the profile accessor itself.
#include "engine/image/capture_image.h"

#include "app/app_profile.h"

void CCaptureImage::Blur() {
    Blur(BlurRadiusOf(GetAppProfile().GetBlurRadius()));
}
