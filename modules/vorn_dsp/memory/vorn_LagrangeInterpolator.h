#pragma once

namespace juce::vorn_dsp
{

/** Coefficients c0..c3 of the cubic through p0..p3 at positions -1, 0, 1, 2,
    around p1: the four-point, third-order Lagrange weights in Horner form.
    Every user computes them here, so that each order of evaluation gives
    bit-identical results. */
template <typename FloatType>
struct CubicCoefficients
{
    static constexpr auto third = (FloatType) (1.0 / 3.0);
    static constexpr auto half = (FloatType) 0.5;
    static constexpr auto sixth = (FloatType) (1.0 / 6.0);

    FloatType c0, c1, c2, c3;

    static CubicCoefficients through (FloatType p0, FloatType p1, FloatType p2, FloatType p3) noexcept
    {
        const auto outer = (p0 + p2) * half;
        return { p1,
                 p2 - p0 * third - p1 * half - p3 * sixth,
                 outer - p1,
                 (p3 - p0) * sixth + (p1 - p2) * half };
    }

    FloatType evaluate (FloatType t) const noexcept
    {
        return ((c3 * t + c2) * t + c1) * t + c0;
    }
};

/** A four-point interpolator over a stream of points, kept in rotating
    slots: `order` names the slot of p0 (oldest) to p3 (newest). The cubic
    is valid between p1 (t = 0) and p2 (t = 1). */
template <typename FloatType>
struct LagrangeInterpolator_4Points
{
    FloatType points[4] {};
    FloatType coeffs[4] {};
    int64 order[4] { 0, 1, 2, 3 };

    void start (FloatType p0, FloatType p1, FloatType p2, FloatType p3) noexcept
    {
        points[0] = p0;
        points[1] = p1;
        points[2] = p2;
        points[3] = p3;

        for (int64 i = 0; i < 4; ++i)
            order[i] = i;

        computeCoefficients();
    }

    /** x becomes p3; the former p1, p2, p3 become p0, p1, p2. */
    void advance (FloatType x) noexcept
    {
        const auto oldest = order[0];
        points[oldest] = x;

        for (int i = 0; i < 3; ++i)
            order[i] = order[i + 1];

        order[3] = oldest;
        computeCoefficients();
    }

    FloatType point (int i) const noexcept { return points[order[i]]; }

    FloatType evaluate (FloatType t) const noexcept
    {
        return ((coeffs[3] * t + coeffs[2]) * t + coeffs[1]) * t + coeffs[0];
    }

private:
    void computeCoefficients() noexcept
    {
        const auto c = CubicCoefficients<FloatType>::through (point (0), point (1), point (2), point (3));
        coeffs[0] = c.c0;
        coeffs[1] = c.c1;
        coeffs[2] = c.c2;
        coeffs[3] = c.c3;
    }
};

} // namespace juce::vorn_dsp
