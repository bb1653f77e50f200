#pragma once

namespace juce::vorn_dsp::segment_kernels
{

/** The segment value at x = k * L from `points` (p0 of the batch at index 0,
    captured sample j at index j + 1): the captured sample itself when x
    falls on it, otherwise the cubic through the samples around x. */
template <typename FloatType>
inline FloatType segmentValueAt (const FloatType* points, FloatType x) noexcept
{
    const auto i = (int) x;
    const auto t = x - (FloatType) i;

    return t == 0 ? points[i + 1]
                  : CubicCoefficients<FloatType>::through (points[i], points[i + 1], points[i + 2], points[i + 3]).evaluate (t);
}

/** Resamples captured audio of `Channels` channels onto the segment grid.

    `points[c]` holds p0 (the sample before the batch) at index 0, the
    captured samples from index 1, and two copies of the newest captured
    sample after them, which stand in for look-ahead points that have not
    arrived yet. Writes M segment values to `segments[c]` at positions k * L
    (k = 0 .. M - 1, in samples from the first captured sample) and returns
    T, the number of captured samples the batch consumes. The channels share
    the positions, so they are computed once for all of them. */
template <int Channels, typename FloatType>
int resampleToSegments (const FloatType* const* points, FloatType L, int M, FloatType* const* segments) noexcept
{
    for (int c = 0; c < Channels; ++c)
        segments[c][0] = points[c][1];

    int k = 1;

   #if VORN_DSP_AVX2
    if constexpr (std::is_same_v<FloatType, float>)
        if (avx2::isAvailable())
            k = avx2::resampleToSegments<Channels> (points, L, M, segments, k);
   #endif

   #if VORN_DSP_SSE
    if constexpr (std::is_same_v<FloatType, float>)
    {
        // Four segments at a time. With segments shorter than a sample,
        // neighbouring segments mostly fall between the same two samples:
        // their cubic is computed once and evaluated for all four.
        const auto length = _mm_set1_ps (L);
        const auto zero = _mm_setzero_ps();
        int cachedIndex = -1;
        sse::Cubic4 cached[(size_t) Channels] {};

        for (; k + 4 <= M; k += 4)
        {
            const auto x = _mm_mul_ps (sse::counting (k), length);
            const auto index = _mm_cvttps_epi32 (x);
            const auto t = _mm_sub_ps (x, _mm_cvtepi32_ps (index));
            const auto onSample = _mm_cmpeq_ps (t, zero);
            const auto first = sse::firstLane (index);

            if (first == sse::lastLane (index))
            {
                if (first != cachedIndex)
                {
                    for (int c = 0; c < Channels; ++c)
                    {
                        const auto* p = points[c] + first;
                        cached[c] = sse::Cubic4::broadcast (CubicCoefficients<float>::through (p[0], p[1], p[2], p[3]));
                    }

                    cachedIndex = first;
                }

                for (int c = 0; c < Channels; ++c)
                    _mm_storeu_ps (segments[c] + k, sse::select (onSample, cached[c].c0, cached[c].evaluate (t)));
            }
            else
            {
                for (int c = 0; c < Channels; ++c)
                {
                    const auto around = sse::Points4::gather (points[c], index);
                    const auto value = sse::Cubic4::through (around.p0, around.p1, around.p2, around.p3).evaluate (t);
                    _mm_storeu_ps (segments[c] + k, sse::select (onSample, around.p1, value));
                }
            }
        }
    }
   #endif

    for (; k < M; ++k)
        for (int c = 0; c < Channels; ++c)
            segments[c][k] = segmentValueAt (points[c], (FloatType) k * L);

    const auto last = (FloatType) (M - 1) * L;
    return jmax (1, (int) std::ceil (last));
}

/** The crossfade of one pair: the front moves towards the back by `K`, the
    back takes what keeps the pair's sum. Between two non-zero values of the
    same sign the result is held on the right side of the partner against
    rounding: not beyond it up to 100 %, not short of it above. */
template <typename FloatType>
inline void mixPair (FloatType& front, FloatType& back, FloatType K) noexcept
{
    const auto a = front, b = back;
    auto v = a + K * (b - a);
    const bool sameSign = (a > 0 && b > 0) || (a < 0 && b < 0);

    if (sameSign)
    {
        const bool keepBelow = (K <= 1) == (a < b);
        v = keepBelow ? jmin (v, b) : jmax (v, b);
    }

    front = v;
    back = a + b - v;
}

/** Exchanges every pair (j, N - 1 - j), j = 0, 2, 4 ... < N / 2, of every
    group of N values. */
template <typename FloatType>
void exchangePairs (FloatType* values, int numGroups, int N) noexcept
{
    for (int g = 0; g < numGroups; ++g)
    {
        auto* group = values + g * N;

        for (int j = 0; j < N / 2; j += 2)
            std::swap (group[j], group[N - 1 - j]);
    }
}

/** Mixes every pair (j, N - 1 - j), j = 0, 2, 4 ... < N / 2, of one group
    of N values by `K`. */
template <typename FloatType>
void mixGroup (FloatType* group, int N, FloatType K) noexcept
{
    const int pairs = (N / 2 + 1) / 2;
    int q = 0;

   #if VORN_DSP_SSE
    if constexpr (std::is_same_v<FloatType, float>)
    {
        // Four pairs at a time, while the fronts' and the backs' eight
        // values do not overlap: fronts at 2q, 2q + 2 ... take the even
        // lanes of group[2q .. 2q + 7], backs at N - 1 - 2q, N - 3 - 2q ...
        // the odd lanes of group[N - 8 - 2q .. N - 1 - 2q], newest first.
        const auto k = _mm_set1_ps (K);
        const auto zero = _mm_setzero_ps();
        const bool upToFull = K <= 1;

        for (; q + 4 <= pairs && 4 * q + 16 <= N; q += 4)
        {
            auto* fronts = group + 2 * q;
            auto* backs = group + N - 8 - 2 * q;

            const auto lo = _mm_loadu_ps (fronts), hi = _mm_loadu_ps (fronts + 4);
            const auto loB = _mm_loadu_ps (backs), hiB = _mm_loadu_ps (backs + 4);
            const auto a = _mm_shuffle_ps (lo, hi, _MM_SHUFFLE (2, 0, 2, 0));
            const auto b = _mm_shuffle_ps (hiB, loB, _MM_SHUFFLE (1, 3, 1, 3));

            const auto v = _mm_add_ps (a, _mm_mul_ps (k, _mm_sub_ps (b, a)));
            const auto sameSign = _mm_or_ps (_mm_and_ps (_mm_cmpgt_ps (a, zero), _mm_cmpgt_ps (b, zero)),
                                             _mm_and_ps (_mm_cmplt_ps (a, zero), _mm_cmplt_ps (b, zero)));
            const auto rising = _mm_cmplt_ps (a, b);
            const auto keepBelow = upToFull ? rising : _mm_xor_ps (rising, _mm_cmpeq_ps (zero, zero));
            const auto limited = sse::select (keepBelow, _mm_min_ps (v, b), _mm_max_ps (v, b));
            const auto front = sse::select (sameSign, limited, v);
            const auto back = _mm_sub_ps (_mm_add_ps (a, b), front);

            const auto odds = _mm_shuffle_ps (lo, hi, _MM_SHUFFLE (3, 1, 3, 1));
            _mm_storeu_ps (fronts, _mm_unpacklo_ps (front, odds));
            _mm_storeu_ps (fronts + 4, _mm_unpackhi_ps (front, odds));

            const auto evens = _mm_shuffle_ps (loB, hiB, _MM_SHUFFLE (2, 0, 2, 0));
            const auto reversed = _mm_shuffle_ps (back, back, _MM_SHUFFLE (0, 1, 2, 3));
            _mm_storeu_ps (backs, _mm_unpacklo_ps (evens, reversed));
            _mm_storeu_ps (backs + 4, _mm_unpackhi_ps (evens, reversed));
        }
    }
   #endif

    for (; q < pairs; ++q)
        mixPair (group[2 * q], group[N - 1 - 2 * q], K);
}

/** Mixes every group g by `mixOfGroup (g)`; a mix of 0 or less leaves the
    group alone. */
template <typename FloatType, typename MixOfGroup>
void mixPairs (FloatType* values, int numGroups, int N, MixOfGroup&& mixOfGroup) noexcept
{
    for (int g = 0; g < numGroups; ++g)
    {
        const FloatType K = mixOfGroup (g);

        if (K > 0)
            mixGroup (values + g * N, N, K);
    }
}

/** Resamples a batch of M segment values of `Channels` channels back to T
    audio samples.

    `values[c]` holds, by index, the previous batch's last p1 of the output
    interpolator at 0, the batch values oldest first from 1 to M, and a copy
    of the newest at M + 1 for the one look-ahead beyond it. Output sample k
    lies at distance d = (M - 1) - k / L from the newest value.

    The interpolator's p2 sits at distance r, its points p0..p3 at distances
    r + 2 .. r - 1 (indices M - r - 2 .. M - r + 1). Advancing it while p2
    lies beyond d and the look-ahead exists leaves r = min (M - 2,
    max (floor (d), 1)) at every sample, so each sample is computed on its
    own. Once d falls below r (the look-ahead would pass the newest value),
    this and the remaining samples are interpolated linearly.
    Writes each channel's last p1 of the interpolator to `lastP1[c]`. */
template <int Channels, typename FloatType>
void resampleToAudio (const FloatType* const* values, FloatType L, int M, int T, FloatType* const* output, FloatType* lastP1) noexcept
{
    auto distanceOf = [L, M] (int k) { return (FloatType) (M - 1) - (FloatType) k / L; };
    auto pointOf = [M] (FloatType d) { return jmin (M - 2, jmax ((int) std::floor (d), 1)); };

    for (int c = 0; c < Channels; ++c)
        output[c][0] = values[c][1];

    int k = 1;
    auto hasLookAhead = [&] (int sample) { return (FloatType) pointOf (distanceOf (sample)) <= distanceOf (sample); };

   #if VORN_DSP_AVX2
    if constexpr (std::is_same_v<FloatType, float>)
        if (avx2::isAvailable())
            k = avx2::resampleToAudio<Channels> (values, L, M, T, output, k, hasLookAhead);
   #endif

   #if VORN_DSP_SSE
    if constexpr (std::is_same_v<FloatType, float>)
    {
        const auto length = _mm_set1_ps (L);
        const auto newest = _mm_set1_ps ((float) (M - 1));
        const auto highest = _mm_set1_ps ((float) (M - 2));
        const auto one = _mm_set1_ps (1.0f);

        // Whole chunks of four whose last sample still has its look-ahead.
        for (; k + 4 <= T && hasLookAhead (k + 3); k += 4)
        {
            const auto d = _mm_sub_ps (newest, _mm_div_ps (sse::counting (k), length));
            const auto r = _mm_min_ps (highest, _mm_max_ps (_mm_cvtepi32_ps (_mm_cvttps_epi32 (d)), one));
            const auto firstPoint = _mm_cvttps_epi32 (_mm_sub_ps (highest, r));
            const auto t = _mm_sub_ps (_mm_add_ps (r, one), d);
            const auto onValue = _mm_cmpeq_ps (d, r);

            for (int c = 0; c < Channels; ++c)
            {
                const auto around = sse::Points4::gather (values[c], firstPoint);
                const auto value = sse::Cubic4::through (around.p0, around.p1, around.p2, around.p3).evaluate (t);
                _mm_storeu_ps (output[c] + k, sse::select (onValue, around.p2, value));
            }
        }
    }
   #endif

    for (; k < T; ++k)
    {
        const auto d = distanceOf (k);
        const auto r = pointOf (d);

        if ((FloatType) r > d)
            break;

        for (int c = 0; c < Channels; ++c)
        {
            const auto* v = values[c] + M - r;
            output[c][k] = d == (FloatType) r ? v[0]
                                              : CubicCoefficients<FloatType>::through (v[-2], v[-1], v[0], v[1])
                                                    .evaluate ((FloatType) (r + 1) - d);
        }
    }

    const auto lastPoint = T > 1 ? pointOf (jmax ((FloatType) 0, distanceOf (jmin (k, T - 1)))) : M - 2;

    for (int c = 0; c < Channels; ++c)
        lastP1[c] = values[c][M - lastPoint - 1];

    for (; k < T; ++k)
    {
        const auto d = jmax ((FloatType) 0, distanceOf (k));
        const auto i = (int) d;
        const auto f = d - (FloatType) i;

        for (int c = 0; c < Channels; ++c)
        {
            const auto u = values[c][M - i];
            const auto o = values[c][M - i - 1];

            if (f == 0)
            {
                output[c][k] = u;
                continue;
            }

            auto y = u * (1 - f) + o * f;

            if (u != 0 && o != 0 && ((u > 0) == (o > 0)))
                y = jlimit (jmin (u, o), jmax (u, o), y);

            output[c][k] = y;
        }
    }
}

} // namespace juce::vorn_dsp::segment_kernels
