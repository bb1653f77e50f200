#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

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
