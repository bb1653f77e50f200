#pragma once

// Eight-lane versions of the two resampling kernels for processors with AVX2,
// chosen at run time. Every lane performs the operations of the scalar
// kernels in the same order (no fused multiply-add), so the results are
// bit-identical on every processor.

#if VORN_DSP_SSE && (defined (__GNUC__) || defined (__clang__))
 #define VORN_DSP_AVX2 1
 #include <immintrin.h>
 #define VORN_AVX2_FUNCTION __attribute__ ((target ("avx2")))
#else
 #define VORN_DSP_AVX2 0
#endif

#if VORN_DSP_AVX2

namespace juce::vorn_dsp::avx2
{

/** Lets tests run the four-lane kernels on a processor that has AVX2. */
inline std::atomic<bool>& allowed() noexcept
{
    static std::atomic<bool> flag { true };
    return flag;
}

inline bool isAvailable() noexcept
{
    static const bool available = SystemStats::hasAVX2();
    return available && allowed().load (std::memory_order_relaxed);
}

struct Cubic8
{
    __m256 c0, c1, c2, c3;
};

VORN_AVX2_FUNCTION inline Cubic8 cubicThrough (__m256 p0, __m256 p1, __m256 p2, __m256 p3) noexcept
{
    const auto third = _mm256_set1_ps (CubicCoefficients<float>::third);
    const auto half = _mm256_set1_ps (CubicCoefficients<float>::half);
    const auto sixth = _mm256_set1_ps (CubicCoefficients<float>::sixth);

    const auto outer = _mm256_mul_ps (_mm256_add_ps (p0, p2), half);
    return { p1,
             _mm256_sub_ps (_mm256_sub_ps (_mm256_sub_ps (p2, _mm256_mul_ps (p0, third)), _mm256_mul_ps (p1, half)), _mm256_mul_ps (p3, sixth)),
             _mm256_sub_ps (outer, p1),
             _mm256_add_ps (_mm256_mul_ps (_mm256_sub_ps (p3, p0), sixth), _mm256_mul_ps (_mm256_sub_ps (p1, p2), half)) };
}

VORN_AVX2_FUNCTION inline __m256 evaluate (const Cubic8& c, __m256 t) noexcept
{
    return _mm256_add_ps (_mm256_mul_ps (_mm256_add_ps (_mm256_mul_ps (_mm256_add_ps (_mm256_mul_ps (c.c3, t), c.c2), t), c.c1), t), c.c0);
}

VORN_AVX2_FUNCTION inline __m256 counting (int first) noexcept
{
    return _mm256_cvtepi32_ps (_mm256_add_epi32 (_mm256_set1_epi32 (first), _mm256_setr_epi32 (0, 1, 2, 3, 4, 5, 6, 7)));
}

/** The four points from `first` in the low half, from `second` in the high. */
VORN_AVX2_FUNCTION inline __m256 twoRows (const float* first, const float* second) noexcept
{
    return _mm256_insertf128_ps (_mm256_castps128_ps256 (_mm_loadu_ps (first)), _mm_loadu_ps (second), 1);
}

/** p0..p3 for eight lanes whose first points stand at `points + index[j]`. */
VORN_AVX2_FUNCTION inline void gather (const float* points, __m256i index, __m256& p0, __m256& p1, __m256& p2, __m256& p3) noexcept
{
    alignas (32) int at[8];
    _mm256_store_si256 (reinterpret_cast<__m256i*> (at), index);

    const auto r0 = twoRows (points + at[0], points + at[4]);
    const auto r1 = twoRows (points + at[1], points + at[5]);
    const auto r2 = twoRows (points + at[2], points + at[6]);
    const auto r3 = twoRows (points + at[3], points + at[7]);
    const auto t0 = _mm256_unpacklo_ps (r0, r1), t1 = _mm256_unpackhi_ps (r0, r1);
    const auto t2 = _mm256_unpacklo_ps (r2, r3), t3 = _mm256_unpackhi_ps (r2, r3);
    p0 = _mm256_shuffle_ps (t0, t2, _MM_SHUFFLE (1, 0, 1, 0));
    p1 = _mm256_shuffle_ps (t0, t2, _MM_SHUFFLE (3, 2, 3, 2));
    p2 = _mm256_shuffle_ps (t1, t3, _MM_SHUFFLE (1, 0, 1, 0));
    p3 = _mm256_shuffle_ps (t1, t3, _MM_SHUFFLE (3, 2, 3, 2));
}

/** Segment values k .. k + 7 of `Channels` channels; see
    segment_kernels::resampleToSegments. Returns the k it stopped at. */
template <int Channels>
VORN_AVX2_FUNCTION int resampleToSegments (const float* const* points, float L, int M, float* const* segments, int k) noexcept
{
    const auto length = _mm256_set1_ps (L);
    const auto zero = _mm256_setzero_ps();
    const auto one = _mm256_set1_epi32 (1);

    for (; k + 8 <= M; k += 8)
    {
        const auto x = _mm256_mul_ps (counting (k), length);
        const auto index = _mm256_cvttps_epi32 (x);
        const auto t = _mm256_sub_ps (x, _mm256_cvtepi32_ps (index));
        const auto onSample = _mm256_cmp_ps (t, zero, _CMP_EQ_OQ);
        const auto first = _mm256_cvtsi256_si32 (index);
        const auto last = _mm256_extract_epi32 (index, 7);

        if (last - first <= 4)
        {
            // All eight lanes' points lie within eight consecutive samples:
            // one load, and each lane picks its four by permutation.
            const auto offset = _mm256_sub_epi32 (index, _mm256_set1_epi32 (first));
            const auto o1 = _mm256_add_epi32 (offset, one);
            const auto o2 = _mm256_add_epi32 (o1, one);
            const auto o3 = _mm256_add_epi32 (o2, one);

            for (int c = 0; c < Channels; ++c)
            {
                const auto around = _mm256_loadu_ps (points[c] + first);
                const auto p1 = _mm256_permutevar8x32_ps (around, o1);
                const auto cubic = cubicThrough (_mm256_permutevar8x32_ps (around, offset), p1,
                                                 _mm256_permutevar8x32_ps (around, o2), _mm256_permutevar8x32_ps (around, o3));
                _mm256_storeu_ps (segments[c] + k, _mm256_blendv_ps (evaluate (cubic, t), p1, onSample));
            }
        }
        else
        {
            for (int c = 0; c < Channels; ++c)
            {
                __m256 p0, p1, p2, p3;
                gather (points[c], index, p0, p1, p2, p3);
                const auto cubic = cubicThrough (p0, p1, p2, p3);
                _mm256_storeu_ps (segments[c] + k, _mm256_blendv_ps (evaluate (cubic, t), p1, onSample));
            }
        }
    }

    return k;
}

/** Output samples from k on, in chunks of eight whose last sample still has
    its look-ahead; see segment_kernels::resampleToAudio. Returns the k it
    stopped at. */
template <int Channels, typename LastChunkFits>
VORN_AVX2_FUNCTION int resampleToAudio (const float* const* values, float L, int M, int T, float* const* output, int k,
                                        LastChunkFits&& lastSampleHasLookAhead) noexcept
{
    const auto length = _mm256_set1_ps (L);
    const auto newest = _mm256_set1_ps ((float) (M - 1));
    const auto highest = _mm256_set1_ps ((float) (M - 2));
    const auto one = _mm256_set1_ps (1.0f);

    for (; k + 8 <= T && lastSampleHasLookAhead (k + 7); k += 8)
    {
        const auto d = _mm256_sub_ps (newest, _mm256_div_ps (counting (k), length));
        const auto r = _mm256_min_ps (highest, _mm256_max_ps (_mm256_cvtepi32_ps (_mm256_cvttps_epi32 (d)), one));
        const auto firstPoint = _mm256_cvttps_epi32 (_mm256_sub_ps (highest, r));
        const auto t = _mm256_sub_ps (_mm256_add_ps (r, one), d);
        const auto onValue = _mm256_cmp_ps (d, r, _CMP_EQ_OQ);

        for (int c = 0; c < Channels; ++c)
        {
            __m256 p0, p1, p2, p3;
            gather (values[c], firstPoint, p0, p1, p2, p3);
            const auto cubic = cubicThrough (p0, p1, p2, p3);
            _mm256_storeu_ps (output[c] + k, _mm256_blendv_ps (evaluate (cubic, t), p2, onValue));
        }
    }

    return k;
}

} // namespace juce::vorn_dsp::avx2

#endif
