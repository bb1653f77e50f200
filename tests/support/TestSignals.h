#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <vector>

/** Uniform noise in [-1, 1), the same for the same seed. */
inline juce::AudioBuffer<float> noise (int channels, int samples, int seed = 7)
{
    juce::Random random (seed);
    juce::AudioBuffer<float> buffer (channels, samples);
    for (int c = 0; c < channels; ++c)
        for (int i = 0; i < samples; ++i)
            buffer.setSample (c, i, random.nextFloat() * 2 - 1);
    return buffer;
}

inline juce::AudioBuffer<float> impulses (int channels, int samples, int first, int spacing)
{
    juce::AudioBuffer<float> buffer (channels, samples);
    buffer.clear();
    for (int c = 0; c < channels; ++c)
        for (int i = first; i < samples; i += spacing)
            buffer.setSample (c, i, 1.0f);
    return buffer;
}

/** Smooth bumps of height 1 whose peaks stand at `first`, `first + spacing`
    and so on. Resampling onto the segment grid and back smears a bare
    impulse, but leaves such a band-limited pulse in place. */
constexpr int bumpHalfWidth = 16;

inline juce::AudioBuffer<float> bumps (int channels, int samples, int first, int spacing)
{
    juce::AudioBuffer<float> buffer (channels, samples);
    buffer.clear();
    for (int c = 0; c < channels; ++c)
        for (int peak = first; peak + bumpHalfWidth < samples; peak += spacing)
            for (int i = -bumpHalfWidth; i <= bumpHalfWidth; ++i)
                buffer.setSample (c, peak + i, 0.5f + 0.5f * std::cos (juce::MathConstants<float>::pi * (float) i / (float) bumpHalfWidth));
    return buffer;
}

/** Where the pulses stand: the centre of mass, to the nearest sample, of
    every run of samples above `threshold`. Each batch of a stage starts its
    return interpolation from the previous batch's point, which can bend a
    single sample by a few percent; the centre of a run is immune to that. */
inline std::vector<int> peaks (const juce::AudioBuffer<float>& buffer, int channel, float threshold)
{
    std::vector<int> found;
    const auto* x = buffer.getReadPointer (channel);
    const auto n = buffer.getNumSamples();

    for (int i = 0; i < n;)
    {
        if (std::abs (x[i]) <= threshold)
        {
            ++i;
            continue;
        }

        double mass = 0, moment = 0;
        for (; i < n && std::abs (x[i]) > threshold; ++i)
        {
            mass += std::abs (x[i]);
            moment += std::abs (x[i]) * i;
        }
        found.push_back ((int) std::lround (moment / mass));
    }
    return found;
}
