#include <vorn_dsp/vorn_dsp.h>
#include "../../support/TestSignals.h"
#include <gtest/gtest.h>

#include <complex>

namespace
{
using namespace juce::vorn_dsp;
using Tone = PalimpsesterStage<float>::ToneFilter<float>;

/** Magnitude response in dB of the filter's present coefficients. */
double responseDb (const Tone& filter, double frequency, double sampleRate)
{
    const auto* c = filter.coeffs;
    const auto z = std::polar (1.0, -2.0 * juce::MathConstants<double>::pi * frequency / sampleRate);
    const auto numerator = (double) c[0] + (double) c[1] * z + (double) c[2] * z * z;
    const auto denominator = 1.0 + (double) c[3] * z + (double) c[4] * z * z;
    return 20.0 * std::log10 (std::abs (numerator / denominator));
}


struct ToneCase
{
    float tone;
    float shelfDb;
};

class ToneShelf : public testing::TestWithParam<ToneCase> {};

TEST_P (ToneShelf, ResetLeavesTheShelfAtThePresentToneAtRest)
{
    Tone filter;
    filter.tone.value = GetParam().tone;
    filter.prepare ({ 48000.0, 512, 2 });

    EXPECT_FLOAT_EQ (filter.appliedGain, GetParam().shelfDb);
    EXPECT_EQ (filter.gain.stepsRemaining, 0);
    EXPECT_FLOAT_EQ (filter.appliedFrequency, 12300.0f);
    EXPECT_FLOAT_EQ (filter.appliedQ, 0.9f);
    EXPECT_NEAR (responseDb (filter, 23900.0, 48000.0), GetParam().shelfDb, 0.5);
    EXPECT_NEAR (responseDb (filter, 50.0, 48000.0), 0.0, 0.01);
}

INSTANTIATE_TEST_SUITE_P (Table, ToneShelf, testing::Values (ToneCase { 0, -56 }, ToneCase { 50, -28 }, ToneCase { 75, -14 }),
                          [] (const testing::TestParamInfo<ToneCase>& testCase) { return "Tone" + std::to_string ((int) testCase.param.tone); });

TEST (ToneShelf, ToneAtHundredSkipsTheFilter)
{
    Tone filter;
    filter.tone.value = 100;
    filter.prepare ({ 44100.0, 256, 2 });

    const auto input = noise (2, 256);
    auto output = input;
    juce::dsp::AudioBlock<float> block (output);
    filter.process (juce::dsp::ProcessContextReplacing<float> (block));

    EXPECT_FALSE (filter.active);
    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < 256; ++i)
            ASSERT_EQ (output.getSample (c, i), input.getSample (c, i));
}

TEST (ToneShelf, ToneChangeRampsOncePerBlockThenSkips)
{
    Tone filter;
    filter.tone.value = 75;
    filter.prepare ({ 44100.0, 512, 1 });

    filter.tone.value = 100;
    juce::AudioBuffer<float> buffer (1, 512);
    int blocks = 0;
    float previousGain = filter.appliedGain;

    while (filter.active && blocks < 20)
    {
        buffer.clear();
        buffer.setSample (0, 0, 1.0f);
        juce::dsp::AudioBlock<float> block (buffer);
        filter.process (juce::dsp::ProcessContextReplacing<float> (block));
        ++blocks;

        if (filter.active)
        {
            EXPECT_GT (filter.appliedGain, previousGain) << "block " << blocks;
            previousGain = filter.appliedGain;
        }
    }

    // 3308 steps of ramp are ceil (3308 / 512) = 7 blocks; the block after
    // the ramp ends finds the gain at rest.
    EXPECT_EQ (blocks, 7);
    EXPECT_FALSE (filter.active);

    // The coefficients catch up with the gain at rest in the next block,
    // while the filter stays skipped.
    juce::dsp::AudioBlock<float> block (buffer);
    filter.process (juce::dsp::ProcessContextReplacing<float> (block));
    EXPECT_EQ (filter.appliedGain, 0.0f);
    EXPECT_FALSE (filter.active);
}

TEST (ToneShelf, ResetClearsTheStateAndEndsRamps)
{
    Tone filter;
    filter.tone.value = 20;
    filter.prepare ({ 48000.0, 128, 2 });
    filter.tone.value = 60;

    auto buffer = noise (2, 128);
    juce::dsp::AudioBlock<float> block (buffer);
    filter.process (juce::dsp::ProcessContextReplacing<float> (block));
    ASSERT_GT (filter.gain.stepsRemaining, 0);

    filter.reset();
    for (int c = 0; c < 2; ++c)
    {
        EXPECT_EQ (filter.z1[(size_t) c], 0.0f);
        EXPECT_EQ (filter.z2[(size_t) c], 0.0f);
    }
    EXPECT_EQ (filter.gain.stepsRemaining, 0);
    EXPECT_FLOAT_EQ (filter.gain.current, Tone::gainForTone (60));
    EXPECT_FLOAT_EQ (filter.appliedGain, Tone::gainForTone (60));
}

} // namespace
