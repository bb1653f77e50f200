#pragma once

#if defined (__SSE2__) || defined (_M_X64)
 #define VORN_DSP_SSE 1
 #include <emmintrin.h>
#else
 #define VORN_DSP_SSE 0
#endif

#if VORN_DSP_SSE

namespace juce::vorn_dsp::sse
{

/** Four cubic evaluations side by side, with the operations of
    `CubicCoefficients::through` and `evaluate` in the same order, so that
    each lane is bit-identical to the scalar computation. */
struct Cubic4
{
    __m128 c0, c1, c2, c3;

    static Cubic4 through (__m128 p0, __m128 p1, __m128 p2, __m128 p3) noexcept
    {
        const auto third = _mm_set1_ps (CubicCoefficients<float>::third);
        const auto half = _mm_set1_ps (CubicCoefficients<float>::half);
        const auto sixth = _mm_set1_ps (CubicCoefficients<float>::sixth);

        const auto outer = _mm_mul_ps (_mm_add_ps (p0, p2), half);
        return { p1,
                 _mm_sub_ps (_mm_sub_ps (_mm_sub_ps (p2, _mm_mul_ps (p0, third)), _mm_mul_ps (p1, half)), _mm_mul_ps (p3, sixth)),
                 _mm_sub_ps (outer, p1),
                 _mm_add_ps (_mm_mul_ps (_mm_sub_ps (p3, p0), sixth), _mm_mul_ps (_mm_sub_ps (p1, p2), half)) };
    }

    /** The same cubic in every lane. */
    static Cubic4 broadcast (const CubicCoefficients<float>& c) noexcept
    {
        return { _mm_set1_ps (c.c0), _mm_set1_ps (c.c1), _mm_set1_ps (c.c2), _mm_set1_ps (c.c3) };
    }

    __m128 evaluate (__m128 t) const noexcept
    {
        return _mm_add_ps (_mm_mul_ps (_mm_add_ps (_mm_mul_ps (_mm_add_ps (_mm_mul_ps (c3, t), c2), t), c1), t), c0);
    }
};

/** The four points starting at `points + base[j]` for each lane j, as the
    columns p0, p1, p2, p3. */
struct Points4
{
    __m128 p0, p1, p2, p3;

    static Points4 gather (const float* points, __m128i base) noexcept
    {
        alignas (16) int index[4];
        _mm_store_si128 (reinterpret_cast<__m128i*> (index), base);

        Points4 rows { _mm_loadu_ps (points + index[0]), _mm_loadu_ps (points + index[1]),
                       _mm_loadu_ps (points + index[2]), _mm_loadu_ps (points + index[3]) };
        _MM_TRANSPOSE4_PS (rows.p0, rows.p1, rows.p2, rows.p3);
        return rows;
    }
};

/** Lanes of `mask` set take `a`, the others `b`. */
inline __m128 select (__m128 mask, __m128 a, __m128 b) noexcept
{
    return _mm_or_ps (_mm_and_ps (mask, a), _mm_andnot_ps (mask, b));
}

inline int firstLane (__m128i v) noexcept { return _mm_cvtsi128_si32 (v); }
inline int lastLane (__m128i v) noexcept  { return _mm_cvtsi128_si32 (_mm_shuffle_epi32 (v, 0xff)); }
inline float lastLane (__m128 v) noexcept { return _mm_cvtss_f32 (_mm_shuffle_ps (v, v, 0xff)); }

/** The integers first, first + 1, first + 2, first + 3 as floats. */
inline __m128 counting (int first) noexcept
{
    return _mm_cvtepi32_ps (_mm_add_epi32 (_mm_set1_epi32 (first), _mm_setr_epi32 (0, 1, 2, 3)));
}

} // namespace juce::vorn_dsp::sse

#endif
