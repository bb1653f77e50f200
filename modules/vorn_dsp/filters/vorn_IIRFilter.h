#pragma once

namespace juce::vorn_dsp
{

/** A per-channel second-order section (transposed direct form II) whose
    frequency, Q and gain are ramped arguments. Subclasses supply the
    coefficient formula in `_setCoeffs`. While the gain sits at exactly 0 dB
    the filter is skipped. */
template <typename FloatType>
class IIRFilter_OrderTwo : public Processor<FloatType>
{
public:
    using typename Processor<FloatType>::InputBlock;
    using typename Processor<FloatType>::OutputBlock;

    /** Brings the coefficients up to date for one block of `numSamples`. */
    void checkCoeffs (int numSamples)
    {
        _checkCoeffs();

        bool changed = false;
        changed = updateApplied (frequency, appliedFrequency, numSamples) || changed;
        changed = updateApplied (q, appliedQ, numSamples) || changed;
        changed = updateApplied (gain, appliedGain, numSamples) || changed;

        if (changed)
            _setCoeffs (appliedFrequency, appliedQ, appliedGain);

        const bool flat = gain.isAtRest (0);

        // Coming back from being skipped: resume from silence.
        if (! changed && ! active && ! flat)
            clearState();

        active = ! flat;
    }

    /** Filters channels [0, numChannels) of `block` in place. Channels are
        taken two at a time: each runs a serial recurrence, and interleaving
        two of them keeps the processor busy while one waits. */
    void filterInPlace (OutputBlock& block, int numSamples) noexcept
    {
        const auto channels = jmin ((int) block.getNumChannels(), numChannels);
        int c = 0;

        for (; c + 1 < channels; c += 2)
            filterTwo (block.getChannelPointer ((size_t) c), block.getChannelPointer ((size_t) c + 1), c, numSamples);

        for (; c < channels; ++c)
            filterOne (block.getChannelPointer ((size_t) c), c, numSamples);
    }

    FloatArg_v2<FloatType, false> frequency { 1000 };
    FloatArg_v2<FloatType, false> q { 1 };
    FloatArg_v2<FloatType, false> gain { 0 };
    int numChannels = 0;
    FloatType coeffs[5] { 1, 0, 0, 0, 0 };
    FloatType appliedFrequency = 1000, appliedQ = 1, appliedGain = 0;
    std::vector<FloatType> z1, z2;
    bool active = true;

protected:
    void _process (const InputBlock& input, OutputBlock& output) override
    {
        const auto n = (int) output.getNumSamples();
        checkCoeffs (n);
        Processor<FloatType>::copyOverlap (input, output);

        if (active)
            filterInPlace (output, jmin (n, (int) input.getNumSamples()));
    }

    void _prepare (const dsp::ProcessSpec& setup) override
    {
        numChannels = (int) setup.numChannels;
        z1.resize ((size_t) numChannels, FloatType (0));
        z2.resize ((size_t) numChannels, FloatType (0));

        for (auto* argument : { &frequency, &q, &gain })
            argument->setQueueSize ((int) setup.maximumBlockSize);
    }

    void _reset() override
    {
        for (auto* argument : { &frequency, &q, &gain })
            argument->resetForSampleRate (this->sampleRate);

        clearState();
    }

    virtual void _setCoeffs (FloatType frequencyHz, FloatType quality, FloatType gainDb) = 0;
    virtual void _checkCoeffs() {}

    void clearState() noexcept
    {
        std::fill (z1.begin(), z1.end(), FloatType (0));
        std::fill (z2.begin(), z2.end(), FloatType (0));
    }

private:
    void filterOne (FloatType* samples, int c, int numSamples) noexcept
    {
        const auto b0 = coeffs[0], b1 = coeffs[1], b2 = coeffs[2], a1 = coeffs[3], a2 = coeffs[4];
        auto s1 = z1[(size_t) c], s2 = z2[(size_t) c];

        for (int i = 0; i < numSamples; ++i)
        {
            const auto x = samples[i];
            const auto y = b0 * x + s1;
            s1 = b1 * x - a1 * y + s2;
            s2 = b2 * x - a2 * y;
            samples[i] = y;
        }

        z1[(size_t) c] = s1;
        z2[(size_t) c] = s2;
    }

    void filterTwo (FloatType* left, FloatType* right, int c, int numSamples) noexcept
    {
        const auto b0 = coeffs[0], b1 = coeffs[1], b2 = coeffs[2], a1 = coeffs[3], a2 = coeffs[4];
        auto l1 = z1[(size_t) c], l2 = z2[(size_t) c];
        auto r1 = z1[(size_t) c + 1], r2 = z2[(size_t) c + 1];

        for (int i = 0; i < numSamples; ++i)
        {
            const auto xl = left[i], xr = right[i];
            const auto yl = b0 * xl + l1;
            const auto yr = b0 * xr + r1;
            l1 = b1 * xl - a1 * yl + l2;
            r1 = b1 * xr - a1 * yr + r2;
            l2 = b2 * xl - a2 * yl;
            r2 = b2 * xr - a2 * yr;
            left[i] = yl;
            right[i] = yr;
        }

        z1[(size_t) c] = l1;
        z2[(size_t) c] = l2;
        z1[(size_t) c + 1] = r1;
        z2[(size_t) c + 1] = r2;
    }

    /** Moves one applied value along its argument's ramp; true if it moved. */
    static bool updateApplied (FloatArg_v2<FloatType, false>& argument, FloatType& applied, int numSamples) noexcept
    {
        bool needsUpdate;

        if (argument.valueBusy.load (std::memory_order_acquire) || ! busy::tryAcquire (argument.valueBusy))
        {
            needsUpdate = argument.tracked.load() != applied;
        }
        else
        {
            needsUpdate = argument.stepsRemaining > 0 || argument.current != applied;
            busy::release (argument.valueBusy);
        }

        if (! needsUpdate || ! argument.tryGetNextAndSkipSteps (numSamples))
            return false;

        applied = argument.queue.empty() ? argument.tracked.load() : argument.queue.front();
        argument.releaseQueue();
        return true;
    }
};

/** The high shelf of the widely published audio-EQ cookbook. */
template <typename FloatType>
class HighShelfFilter : public IIRFilter_OrderTwo<FloatType>
{
public:
    HighShelfFilter()
    {
        computeCoefficients (1000, 1, 0);
    }

protected:
    void _setCoeffs (FloatType frequencyHz, FloatType quality, FloatType gainDb) override
    {
        computeCoefficients (frequencyHz, quality, gainDb);
    }

    void computeCoefficients (FloatType frequencyHz, FloatType quality, FloatType gainDb) noexcept
    {
        const auto A = std::sqrt (std::pow ((FloatType) 10, gainDb * (FloatType) 0.05));
        const auto omega = frequencyHz * (FloatType) 6.2831855 / this->sampleRate;
        const auto cs = std::cos (omega);
        const auto sn = std::sin (omega);
        const auto beta = std::sqrt (A) * sn / quality;
        const auto k = 1 / ((A + 1) - (A - 1) * cs + beta);

        auto& c = this->coeffs;
        c[0] = A * ((A + 1) + (A - 1) * cs + beta) * k;
        c[1] = -2 * A * ((A - 1) + (A + 1) * cs) * k;
        c[2] = A * ((A + 1) + (A - 1) * cs - beta) * k;
        c[3] = 2 * ((A - 1) - (A + 1) * cs) * k;
        c[4] = ((A + 1) - (A - 1) * cs - beta) * k;
    }
};

} // namespace juce::vorn_dsp
