#pragma once

// What the processor offers beyond the baseline the library is built for, asked once at run time:
// the vector paths are compiled for their instruction sets function by function and chosen here.
// TINTORA_BASELINE_ONLY in the environment (not "0") denies everything beyond the baseline.

#if defined(__x86_64__)
#define TINTORA_AVX2 1
#define TINTORA_AVX512_TARGET __attribute__((target("avx512f,avx512bw,avx512vl,avx512vbmi")))

bool HasAvx2();
// The AVX-512 subsets the library uses: foundation, byte and word, vector length, byte permutes.
bool HasAvx512();
#endif
