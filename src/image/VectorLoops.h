#pragma once

// A function whose loops run on vectors is made twice, for processors with AVX2 and for any
// other x86-64, and the one for the processor in use is chosen as the program starts: the same
// operations on twice as many values at once. No fused multiply-add is enabled, so both give
// the same results. Builds with AddressSanitizer keep one.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZUK_ONE_VECTOR_WIDTH
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define ZUK_ONE_VECTOR_WIDTH
#endif

#if defined(__x86_64__) && defined(__GNUC__) && !defined(ZUK_ONE_VECTOR_WIDTH)
#define ZUK_VECTOR_LOOPS __attribute__((target_clones("avx2", "default")))
#else
#define ZUK_VECTOR_LOOPS
#endif
