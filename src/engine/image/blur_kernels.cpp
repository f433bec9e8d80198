#include "engine/image/blur_kernels.h"

BlurKernels GetPortableBlurKernels() {
    return {HorizontalRowsFor, BlurBandFor};
}
