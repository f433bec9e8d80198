// The same loops as blur_kernels.cpp, compiled for AVX2: sixteen 16-bit lanes per register.
#include "engine/image/blur_kernels.h"

BlurKernels GetAvx2BlurKernels() {
    return {HorizontalRowsFor, BlurBandFor};
}
