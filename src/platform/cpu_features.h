#pragma once

// Whether the AVX2 variants of the colour-table and blur loops may run: the processor has AVX2,
// the system saves its registers, and no test has switched the variants off.
bool UseAvx2();

// Tests run the portable loops on a processor that has AVX2.
void SetAvx2AllowedForTesting(bool allowed);
