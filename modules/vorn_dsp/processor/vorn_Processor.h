#pragma once

namespace juce::vorn_dsp
{

/** The frame of every block-processing object of the DSP library.

    Callers use only the non-virtual entry points, which hold `lock` for their
    whole duration and call the hooks; subclasses override only the hooks.
    Owners always hold the concrete type, so there is no virtual destructor.
    No entry point may be called from inside a hook of the same object: the
    spin lock is not re-entrant.
*/
template <typename FloatType>
class Processor
{
public:
    using InputBlock  = dsp::AudioBlock<const FloatType>;
    using OutputBlock = dsp::AudioBlock<FloatType>;

    void prepare (const dsp::ProcessSpec& setup)
    {
        const SpinLock::ScopedLockType hold (lock);
        sampleRate = static_cast<float> (setup.sampleRate);
        _prepare (setup);
        _reset();
    }

    void reset()
    {
        const SpinLock::ScopedLockType hold (lock);
        _reset();
    }

    void process (const dsp::ProcessContextReplacing<FloatType>& context)
    {
        const SpinLock::ScopedLockType hold (lock);
        _process (context.getInputBlock(), context.getOutputBlock());
    }

    void processBypassed (const dsp::ProcessContextReplacing<FloatType>& context)
    {
        const SpinLock::ScopedLockType hold (lock);
        _processBypassed (context.getInputBlock(), context.getOutputBlock());
    }

    float sampleRate = 44100.0f;
    SpinLock lock;

protected:
    virtual void _processBypassed (const InputBlock& input, OutputBlock& output) { copyOverlap (input, output); }
    virtual void _process (const InputBlock& input, OutputBlock& output)         { copyOverlap (input, output); }
    virtual void _prepare (const dsp::ProcessSpec&) {}
    virtual void _reset() {}

    /** Copies the channels and samples that both blocks have. */
    static void copyOverlap (const InputBlock& input, OutputBlock& output)
    {
        const auto channels = jmin (input.getNumChannels(), output.getNumChannels());
        const auto samples  = jmin (input.getNumSamples(), output.getNumSamples());

        for (size_t c = 0; c < channels; ++c)
        {
            const auto* from = input.getChannelPointer (c);
            auto* to = output.getChannelPointer (c);

            if (from != to)
                std::copy (from, from + samples, to);
        }
    }
};

} // namespace juce::vorn_dsp
