#pragma once
// The loops every pixel of a run passes through, written with SSE2 where the processor has it:
// painting a run of equal pixels, asking whether eight pixels all equal one value, and giving
// eight colour numbers one value. The compiler's own loops went a pixel at a time, which made
// painting or reading a whole row cost several times the memory work.

#include <cstdint>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

// Sets the pixels from `first` up to `last` (not included) to `value`.
inline void FillPixels(uint32_t* first, uint32_t* last, uint32_t value) {
#ifdef __SSE2__
    const __m128i four = _mm_set1_epi32(static_cast<int32_t>(value));
    for (; last - first >= 8; first += 8) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(first), four);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(first + 4), four);
    }
#endif
    for (; first < last; ++first) *first = value;
}

// True when the eight pixels from `pixels` all equal `value`.
inline bool EightEqual(const uint32_t* pixels, uint32_t value) {
#ifdef __SSE2__
    const __m128i wanted = _mm_set1_epi32(static_cast<int32_t>(value));
    const __m128i low = _mm_cmpeq_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels)), wanted);
    const __m128i high = _mm_cmpeq_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels + 4)), wanted);
    return _mm_movemask_epi8(_mm_and_si128(low, high)) == 0xFFFF;
#else
    for (int i = 0; i < 8; ++i) {
        if (pixels[i] != value) return false;
    }
    return true;
#endif
}

// Sets the eight colour numbers from `out` to `colour`.
inline void StoreEightColours(uint16_t* out, uint16_t colour) {
#ifdef __SSE2__
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_set1_epi16(static_cast<int16_t>(colour)));
#else
    for (int i = 0; i < 8; ++i) out[i] = colour;
#endif
}
