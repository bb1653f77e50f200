#pragma once

namespace juce::vorn_dsp::segment_kernels
{

/** Resamples captured audio onto the segment grid.

    `points` holds p0 (the sample before the batch) at index 0, the captured
    samples from index 1, and two copies of the newest captured sample after
    them, which stand in for look-ahead points that have not arrived yet.
    Writes M segment values at positions k * L (k = 0 .. M - 1, in samples
    from the first captured sample) and returns T, the number of captured
    samples the batch consumes. */
template <typename FloatType>
int resampleToSegments (const FloatType* points, FloatType L, int M, FloatType* segments) noexcept
{
    segments[0] = points[1];

    for (int k = 1; k < M; ++k)
    {
        const auto x = (FloatType) k * L;
        const auto i = (int) x;
        const auto t = x - (FloatType) i;

        segments[k] = t == 0 ? points[i + 1]
                             : CubicCoefficients<FloatType>::through (points[i], points[i + 1], points[i + 2], points[i + 3]).evaluate (t);
    }

    const auto last = (FloatType) (M - 1) * L;
    return jmax (1, (int) std::ceil (last));
}

/** The crossfade of one pair: the front moves towards the back by `K`, the
    back takes what keeps the pair's sum. Between two non-zero values of the
    same sign the result is held on the right side of the partner against
    rounding. */
template <typename FloatType>
inline void mixPair (FloatType& front, FloatType& back, FloatType K) noexcept
{
    const auto a = front, b = back;
    auto v = a + K * (b - a);

    if (a != 0 && b != 0 && ((a > 0) == (b > 0)))
    {
        const bool towardsLarger = a < b;

        if (K <= 1)
            v = towardsLarger ? jmin (v, b) : jmax (v, b);
        else
            v = towardsLarger ? jmax (v, b) : jmin (v, b);
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

/** Mixes every pair of group g by `mixOfGroup (g)`; a mix of 0 or less
    leaves the group alone. */
template <typename FloatType, typename MixOfGroup>
void mixPairs (FloatType* values, int numGroups, int N, MixOfGroup&& mixOfGroup) noexcept
{
    for (int g = 0; g < numGroups; ++g)
    {
        const FloatType K = mixOfGroup (g);

        if (K <= 0)
            continue;

        auto* group = values + g * N;

        for (int j = 0; j < N / 2; j += 2)
            mixPair (group[j], group[N - 1 - j], K);
    }
}

/** Resamples a batch of M segment values back to T audio samples.

    `values` holds, by index, the previous batch's last p1 of the output
    interpolator at 0, the batch values oldest first from 1 to M, and a copy
    of the newest at M + 1 for the one look-ahead beyond it. Output sample k
    lies at distance d = (M - 1) - k / L from the newest value. The cubic
    runs while its look-ahead exists; the tail that would need points beyond
    the newest value is interpolated linearly.
    Returns the p1 the interpolator ends the batch with. */
template <typename FloatType>
FloatType resampleToAudio (const FloatType* values, FloatType L, int M, int T, FloatType* output) noexcept
{
    // The interpolator's p2 sits at distance r; its points p0..p3 are at
    // distances r + 2 .. r - 1, that is at indices M - r - 2 .. M - r + 1.
    auto at = [values, M] (int distance) { return values[M - distance]; };

    output[0] = at (M - 1);
    int r = M - 2;
    int k = 1;

    for (; k < T; ++k)
    {
        const auto d = (FloatType) (M - 1) - (FloatType) k / L;

        // Advance while p2 lies beyond d and the look-ahead exists.
        if (r > d && r >= 2)
            r = jmax ((int) std::floor (d), 1);

        if (r > d)
            break;

        output[k] = d == (FloatType) r ? at (r)
                                       : CubicCoefficients<FloatType>::through (at (r + 2), at (r + 1), at (r), at (r - 1))
                                             .evaluate ((FloatType) (r + 1) - d);
    }

    for (; k < T; ++k)
    {
        const auto d = jmax ((FloatType) 0, (FloatType) (M - 1) - (FloatType) k / L);
        const auto i = (int) d;
        const auto f = d - (FloatType) i;
        const auto u = at (i);
        const auto o = at (i + 1);

        if (f == 0)
        {
            output[k] = u;
            continue;
        }

        auto y = u * (1 - f) + o * f;

        if (u != 0 && o != 0 && ((u > 0) == (o > 0)))
            y = jlimit (jmin (u, o), jmax (u, o), y);

        output[k] = y;
    }

    return at (r + 1);
}

} // namespace juce::vorn_dsp::segment_kernels
