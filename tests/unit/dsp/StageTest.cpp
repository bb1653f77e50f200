#include "../../support/ReferenceStage.h"
#include "../../support/TestSignals.h"
#include <gtest/gtest.h>

namespace
{
using namespace juce::vorn_dsp;

/** One stage with the memories its multistage would give it. */
struct StageRig
{
    StageRig (double rate, int maxBlock, int channels)
        : setup { rate, (juce::uint32) maxBlock, (juce::uint32) channels },
          latency (maxBlock + (int) std::floor (91 * 0.000048f * (float) rate) + 6),
          capacity ((int) std::floor ((float) latency / ((float) rate * 0.000001f)) + 3)
    {
        stage.prepare (setup, capacity);
        stage.reset (latency);
        segments.reset (channels, capacity);
    }

    void process (juce::AudioBuffer<float>& buffer, int start, int n, float gain = 1, bool accumulate = false, bool firstWriter = false, bool discard = false)
    {
        juce::dsp::AudioBlock<float> block (buffer.getArrayOfWritePointers(), (size_t) buffer.getNumChannels(), (size_t) start, (size_t) n);
        const juce::dsp::AudioBlock<const float> input (block);
        stage.process (input, n, segments, block, gain, accumulate, firstWriter, discard);
    }

    juce::dsp::ProcessSpec setup;
    int latency, capacity;
    PalimpsesterStage<float> stage;
    CircularBuffer<float> segments;
};


struct PatternCase
{
    int N;
    std::vector<float> expected;
};

class PairPatterns : public testing::TestWithParam<PatternCase> {};

TEST_P (PairPatterns, FullMixExchangesEveryOtherPairOfTheFirstHalf)
{
    const auto N = GetParam().N;
    std::vector<float> values ((size_t) (2 * N));
    for (size_t i = 0; i < values.size(); ++i)
        values[i] = (float) i;

    auto exchanged = values;
    segment_kernels::exchangePairs (exchanged.data(), 2, N);

    auto mixed = values;
    segment_kernels::mixPairs (mixed.data(), 2, N, [] (int) { return 1.0f; });

    for (int g = 0; g < 2; ++g)
        for (int j = 0; j < N; ++j)
        {
            const auto expected = GetParam().expected[(size_t) j] + (float) (g * N);
            EXPECT_EQ (exchanged[(size_t) (g * N + j)], expected) << "N " << N << " group " << g << " value " << j;
            EXPECT_EQ (mixed[(size_t) (g * N + j)], expected) << "N " << N << " group " << g << " value " << j;
        }
}

INSTANTIATE_TEST_SUITE_P (Table, PairPatterns, testing::Values (
    PatternCase { 2, { 1, 0 } },
    PatternCase { 3, { 2, 1, 0 } },
    PatternCase { 6, { 5, 1, 3, 2, 4, 0 } },
    PatternCase { 7, { 6, 1, 4, 3, 2, 5, 0 } }),
    [] (const testing::TestParamInfo<PatternCase>& testCase) { return "N" + std::to_string (testCase.param.N); });

TEST (MixGroup, FourPairsAtATimeMatchPairByPair)
{
    juce::Random random (9);

    for (int N : { 16, 17, 20, 31, 32, 64, 90, 91 })
        for (float K : { 0.3f, 1.0f, 1.2f })
        {
            std::vector<float> values ((size_t) N);
            for (auto& v : values)
                v = random.nextInt (5) == 0 ? 0.0f : random.nextFloat() * 2 - 1;

            auto expected = values;
            for (int j = 0; j < N / 2; j += 2)
                segment_kernels::mixPair (expected[(size_t) j], expected[(size_t) (N - 1 - j)], K);

            segment_kernels::mixGroup (values.data(), N, K);
            EXPECT_EQ (values, expected) << "N " << N << ", K " << K;
        }
}

TEST (MixPair, OvershootsBeyondFullMixAndGuardsOnlySameSignPairs)
{
    float front = 1, back = 2;
    segment_kernels::mixPair (front, back, 1.2f);
    EXPECT_FLOAT_EQ (front, 2.2f);
    EXPECT_FLOAT_EQ (back, 0.8f);

    front = -1, back = 1;
    segment_kernels::mixPair (front, back, 0.5f);
    EXPECT_EQ (front, 0.0f);
    EXPECT_EQ (back, 0.0f);

    // Same sign: the moved value never passes its partner below 100 %.
    juce::Random random (3);
    for (int i = 0; i < 1000; ++i)
    {
        const auto a = random.nextFloat() + 0.01f, b = random.nextFloat() + 0.01f;
        float f = a, k = b;
        segment_kernels::mixPair (f, k, 1.0f);
        EXPECT_TRUE (a < b ? f <= b : f >= b) << a << " " << b << " -> " << f;
    }
}

struct BitExactCase
{
    const char* name;
    double rate;
    int N;
    float micros;
    float mix;
    float laterMicros;
    float laterMix;
    float tone;
};

/** Runs a test with the eight-lane kernels allowed or not, so that the
    four-lane ones are checked too on processors that have AVX2. */
struct KernelWidth
{
    explicit KernelWidth (bool wide)
    {
       #if VORN_DSP_AVX2
        avx2::allowed() = wide;
       #else
        (void) wide;
       #endif
    }

    ~KernelWidth()
    {
       #if VORN_DSP_AVX2
        avx2::allowed() = true;
       #endif
    }
};

class AgainstLiteralStage : public testing::TestWithParam<std::tuple<BitExactCase, bool>> {};

TEST_P (AgainstLiteralStage, BitIdenticalOutput)
{
    const auto& p = std::get<0> (GetParam());
    const KernelWidth width (std::get<1> (GetParam()));
    const int maxBlock = 256;
    StageRig rig (p.rate, maxBlock, 2);
    reference::Stage literal;
    literal.prepare (rig.setup, rig.capacity);

    for (auto* stage : { &rig.stage.numSegments, &literal.numSegments })
        stage->value = p.N;

    auto configure = [&] (float micros, float mix, bool snap)
    {
        for (auto* arg : { &rig.stage.segmentSize, &literal.segmentSize })
            arg->setTarget (micros);
        rig.stage.mix.setTarget (mix);
        literal.mix.setTarget (mix);
        rig.stage.toneFilter.tone.value = p.tone;
        literal.toneFilter.tone.value = p.tone;
        if (snap)
        {
            rig.stage.reset (rig.latency);
            literal.reset (rig.latency);
        }
    };

    configure (p.micros, p.mix, true);

    auto signal = noise (2, 24 * maxBlock, 11);
    auto expected = signal;
    const int sizes[] = { 256, 1, 77, 256, 13, 200, 3, 256 };
    int start = 0;

    for (int b = 0; start < signal.getNumSamples(); ++b)
    {
        if (b == 9)
            configure (p.laterMicros, p.laterMix, false);

        const auto n = std::min (sizes[b % 8], signal.getNumSamples() - start);
        rig.process (signal, start, n);

        juce::dsp::AudioBlock<float> block (expected.getArrayOfWritePointers(), 2, (size_t) start, (size_t) n);
        const juce::dsp::AudioBlock<const float> input (block);
        literal.process (input, n, block, 1, false, false, false);
        start += n;
    }

    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < signal.getNumSamples(); ++i)
            ASSERT_EQ (signal.getSample (c, i), expected.getSample (c, i)) << "channel " << c << " sample " << i;

    // The run must have produced sound, not only the latency's silence.
    EXPECT_GT (signal.getMagnitude (0, rig.latency, signal.getNumSamples() - rig.latency), 0.1f);
}

INSTANTIATE_TEST_SUITE_P (Table, AgainstLiteralStage, testing::Combine (testing::Values (
    BitExactCase { "DefaultSettings", 44100, 31, 11, 100, 11, 100, 75 },
    BitExactCase { "ShortestSegmentsLargestGroups", 48000, 91, 1, 120, 1, 120, 75 },
    BitExactCase { "LongestSegmentsSmallestGroups", 48000, 2, 48, 100, 48, 100, 100 },
    BitExactCase { "HalfMixOddGroups", 44100, 7, 23.3f, 50, 23.3f, 50, 30 },
    BitExactCase { "RampingLengthAndMix", 44100, 12, 3, 0, 40, 120, 75 },
    BitExactCase { "MixRampingToZero", 96000, 5, 17, 80, 17, 0, 0 },
    BitExactCase { "SegmentsNearOneSample", 48000, 3, 20.8333f, 100, 21, 60, 100 }), testing::Bool()),
    [] (const testing::TestParamInfo<std::tuple<BitExactCase, bool>>& testCase)
    {
        return std::string (std::get<0> (testCase.param).name) + (std::get<1> (testCase.param) ? "Wide" : "Narrow");
    });

TEST (Stage, MixZeroIsTheInputResampledAndDelayedByTheLatency)
{
    StageRig rig (48000, 128, 1);
    rig.stage.mix.setTarget (0);
    rig.stage.segmentSize.setTarget (11);
    rig.stage.numSegments.value = 31;
    rig.stage.toneFilter.tone.value = 100;
    rig.stage.reset (rig.latency);

    const int total = 40 * 128;
    juce::AudioBuffer<float> buffer (1, total);
    for (int i = 0; i < total; ++i)
        buffer.setSample (0, i, std::sin (0.01f * (float) i));
    const auto input = buffer;

    for (int start = 0; start < total; start += 128)
        rig.process (buffer, start, 128);

    for (int i = 0; i < rig.latency; ++i)
        ASSERT_EQ (buffer.getSample (0, i), 0.0f) << i;

    // Past the start, where the interpolators begin from silence. Each batch
    // starts its return interpolation from the previous batch's point,
    // which bends the first samples of a batch slightly.
    for (int i = rig.latency + 64; i < total; ++i)
        ASSERT_NEAR (buffer.getSample (0, i), input.getSample (0, i - rig.latency), 1.0e-3f) << i;
}

TEST (Stage, DiscardLeavesTheBlockUntouchedWhileTheQueuesAdvance)
{
    StageRig rig (44100, 64, 2);
    auto buffer = noise (2, 64, 5);
    const auto before = buffer;
    const auto waiting = rig.stage.outputQueue.available[0];

    rig.process (buffer, 0, 64, 0, false, false, true);

    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < 64; ++i)
            ASSERT_EQ (buffer.getSample (c, i), before.getSample (c, i));

    // 64 samples went in and 64 were dropped from the output: whatever the
    // batch moved from the input to the output queue, the stage stays D
    // samples ahead, as if it had delivered.
    EXPECT_GT (rig.stage.inputQueue.available[0], 0);
    EXPECT_EQ (rig.stage.inputQueue.available[0] + rig.stage.outputQueue.available[0], waiting);
}

TEST (Stage, AccumulateWithGainZeroAddsNothingButFiltersTheBlock)
{
    StageRig rig (44100, 64, 1);
    rig.stage.toneFilter.tone.value = 0;
    rig.stage.reset (rig.latency);

    juce::AudioBuffer<float> buffer (1, 64);
    buffer.clear();
    buffer.setSample (0, 0, 1.0f);
    rig.process (buffer, 0, 64, 0, true, false, false);

    // The impulse already in the block went through the -56 dB shelf.
    EXPECT_LT (buffer.getSample (0, 0), 1.0f);
    EXPECT_NE (buffer.getSample (0, 1), 0.0f);
}
} // namespace
