// Two texture slots' bytes compared with AVX2, for the paths whose wall and billboard rows read
// turned texture columns.
#include <immintrin.h>

#include "render/column_lookup_avx2.h"
#include "render/x86_kernels.h"

namespace krello {

// Four registers a step, each with a running difference of its own, no early exit: a quarter of
// the plain comparison's steps. The answer is the same; only exact byte equality counts.
KRELLO_AVX2 bool sameTextureBytesAvx2(const uint8_t* a, const uint8_t* b) {
    __m256i differ[4] = {_mm256_setzero_si256(), _mm256_setzero_si256(), _mm256_setzero_si256(),
                         _mm256_setzero_si256()};
    for (int i = 0; i < TEXTURE_BYTES; i += 4 * 32)
        for (int k = 0; k < 4; ++k) {
            const __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(a + i + 32 * k));
            const __m256i y = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(b + i + 32 * k));
            differ[k] = _mm256_or_si256(differ[k], _mm256_xor_si256(x, y));
        }
    const __m256i any = _mm256_or_si256(_mm256_or_si256(differ[0], differ[1]), _mm256_or_si256(differ[2], differ[3]));
    return _mm256_testz_si256(any, any) != 0;
}

}  // namespace krello
