#include <vorn_dsp/vorn_dsp.h>
#include "../../support/TestSignals.h"
#include <gtest/gtest.h>

namespace
{
using namespace juce::vorn_dsp;
using Multistage = PalimpsesterMultistage<float, 3>;

constexpr int blockSize = 256;
constexpr float barelyMixed = 0.01f; // percent: sounding, yet nearly transparent

struct Rig
{
    explicit Rig (double rate = 48000, int channels = 2)
    {
        dsp.prepare ({ rate, (juce::uint32) blockSize, (juce::uint32) channels });
        setTone (100);
    }

    void setMixes (float first, float second, float third, bool snap = true)
    {
        const float mixes[] = { first, second, third };
        for (size_t s = 0; s < 3; ++s)
            dsp.stages[s]->mix.setTarget (mixes[s]);
        if (snap)
            dsp.reset();
    }

    void setTone (float tone)
    {
        for (auto& stage : dsp.stages)
            stage->toneFilter.tone.value = tone;
    }

    void setParallel (bool parallel) { dsp.mode.index = parallel ? 1 : 0; }

    void processBlock (juce::AudioBuffer<float>& buffer, int start, int n, bool bypassed = false)
    {
        juce::dsp::AudioBlock<float> block (buffer.getArrayOfWritePointers(), (size_t) buffer.getNumChannels(), (size_t) start, (size_t) n);
        juce::dsp::ProcessContextReplacing<float> context (block);
        bypassed ? dsp.processBypassed (context) : dsp.process (context);
    }

    Multistage dsp { { "Series", "Parallel" } };
};

TEST (Multistage, SizesFollowTheSampleRateAndBlockSize)
{
    Multistage at48 { { "Series", "Parallel" } };
    at48.prepare ({ 48000.0, 512, 2 });
    EXPECT_EQ (at48.latencyLength, 727);
    EXPECT_EQ (at48.segmentCapacity, 15148);
    EXPECT_EQ (at48.getLatencySamples(), 3 * 727);

    Multistage at44 { { "Series", "Parallel" } };
    at44.prepare ({ 44100.0, 512, 2 });
    EXPECT_EQ (at44.latencyLength, 710);
}

struct PathCase
{
    const char* name;
    bool parallel;
    float mixes[3];
    float amplitude;
    bool exact;
};

class Paths : public testing::TestWithParam<PathCase> {};

TEST_P (Paths, APulseComesOutOnceAtTheReportedLatency)
{
    const auto& p = GetParam();
    Rig rig;
    rig.setParallel (p.parallel);
    rig.setMixes (p.mixes[0], p.mixes[1], p.mixes[2]);
    const auto latency = rig.dsp.getLatencySamples();

    const int at = 300;
    auto buffer = bumps (2, latency + 4 * blockSize, at, 1 << 30);
    for (int start = 0; start < buffer.getNumSamples(); start += blockSize)
        rig.processBlock (buffer, start, std::min (blockSize, buffer.getNumSamples() - start));

    for (int c = 0; c < 2; ++c)
    {
        EXPECT_EQ (peaks (buffer, c, 0.5f * p.amplitude), std::vector<int> { at + latency }) << p.name;
        if (p.exact)
            EXPECT_EQ (buffer.getSample (c, at + latency), 1.0f);
        else
            EXPECT_NEAR (buffer.getSample (c, at + latency), p.amplitude, 0.01f * p.amplitude);
    }
}

INSTANTIATE_TEST_SUITE_P (Table, Paths, testing::Values (
    PathCase { "SeriesAllSounding", false, { barelyMixed, barelyMixed, barelyMixed }, 1, false },
    PathCase { "SeriesOneSounding", false, { barelyMixed, 0, 0 }, 1, false },
    PathCase { "SeriesAllSilent", false, { 0, 0, 0 }, 1, true },
    PathCase { "ParallelAllSounding", true, { barelyMixed, barelyMixed, barelyMixed }, 3, false },
    PathCase { "ParallelFirstSilentOthersSounding", true, { 0, barelyMixed, barelyMixed }, 2, false },
    PathCase { "ParallelOneSounding", true, { 0, barelyMixed, 0 }, 1, false },
    PathCase { "ParallelAllSilent", true, { 0, 0, 0 }, 1, true }),
    [] (const testing::TestParamInfo<PathCase>& testCase) { return std::string (testCase.param.name); });

TEST (Multistage, BypassDelaysByTheReportedLatency)
{
    Rig rig;
    const auto latency = rig.dsp.getLatencySamples();
    auto buffer = impulses (2, latency + 2 * blockSize, 100, 1 << 30);
    for (int start = 0; start < buffer.getNumSamples(); start += blockSize)
        rig.processBlock (buffer, start, std::min (blockSize, buffer.getNumSamples() - start), true);

    EXPECT_EQ (peaks (buffer, 0, 0.0f), std::vector<int> { 100 + latency });
    EXPECT_EQ (buffer.getSample (1, 100 + latency), 1.0f);
}

/** A switch at a block boundary: every pulse of a train must come out
    exactly once, at the reported latency, whichever path carries it. */
struct SwitchCase
{
    const char* name;
    std::function<void (Rig&)> before, atSwitch;
    int bypassFrom = -1, bypassTo = -1; // blocks processed bypassed
};

class Switches : public testing::TestWithParam<SwitchCase> {};

TEST_P (Switches, EveryPulseComesOutOnceAtTheLatency)
{
    const auto& p = GetParam();
    Rig rig;
    p.before (rig);
    const auto latency = rig.dsp.getLatencySamples();

    const int total = 48 * blockSize;
    const int switchBlock = 16;
    const int first = 50, spacing = 151;
    auto buffer = bumps (2, total, first, spacing);

    for (int b = 0; b * blockSize < total; ++b)
    {
        if (b == switchBlock)
            p.atSwitch (rig);
        rig.processBlock (buffer, b * blockSize, blockSize, b >= p.bypassFrom && b < p.bypassTo);
    }

    std::vector<int> expected;
    for (int t = first; t + latency + bumpHalfWidth < total; t += spacing)
        expected.push_back (t + latency);

    for (int c = 0; c < 2; ++c)
        EXPECT_EQ (peaks (buffer, c, 0.5f), expected) << p.name << ", channel " << c;

}

// In parallel every sounding stage adds a copy; one sounding stage keeps the
// pulses at the height of the dry ones.
void seriesSounding (Rig& rig)   { rig.setParallel (false); rig.setMixes (barelyMixed, barelyMixed, barelyMixed); }
void parallelSounding (Rig& rig) { rig.setParallel (true); rig.setMixes (barelyMixed, 0, 0); }
void seriesSilent (Rig& rig)     { rig.setParallel (false); rig.setMixes (0, 0, 0); }

INSTANTIATE_TEST_SUITE_P (Table, Switches, testing::Values (
    SwitchCase { "SeriesToParallel", seriesSounding, [] (Rig& r) { r.setParallel (true); } },
    SwitchCase { "ParallelToSeries", parallelSounding, [] (Rig& r) { r.setParallel (false); } },
    SwitchCase { "SeriesFallsSilent", seriesSounding, [] (Rig& r) { r.setMixes (0, 0, 0, false); } },
    SwitchCase { "SeriesReturnsFromSilence", seriesSilent, [] (Rig& r) { r.setMixes (barelyMixed, 0, barelyMixed, false); } },
    SwitchCase { "ParallelStageReturns", parallelSounding, [] (Rig& r) { r.setMixes (barelyMixed, 0, barelyMixed, false); } },
    SwitchCase { "ParallelFallsSilentAndModeChanges", parallelSounding,
                 [] (Rig& r) { r.setMixes (0, 0, 0, false); r.setParallel (false); } },
    SwitchCase { "SeriesBypassOn", seriesSounding, [] (Rig&) {}, 16, 48 },
    SwitchCase { "ParallelBypassOn", parallelSounding, [] (Rig&) {}, 16, 48 },
    SwitchCase { "SeriesBypassOff", seriesSounding, [] (Rig&) {}, 8, 16 },
    SwitchCase { "ParallelBypassOff", parallelSounding, [] (Rig&) {}, 8, 16 },
    SwitchCase { "SeriesBypassBriefly", seriesSounding, [] (Rig&) {}, 15, 16 }),
    [] (const testing::TestParamInfo<SwitchCase>& testCase) { return std::string (testCase.param.name); });

TEST (Multistage, AStageReturningFromSilenceRestartsItsToneFilter)
{
    Rig rig;
    rig.setTone (40);
    rig.setParallel (true);
    rig.setMixes (barelyMixed, 0, 0);
    auto buffer = bumps (2, 8 * blockSize, 100, 300);

    for (int b = 0; b < 4; ++b)
        rig.processBlock (buffer, b * blockSize, blockSize);

    // Whatever the silent stage's shelf holds is dropped when it sounds again.
    auto& shelf = rig.dsp.stages[1]->toneFilter;
    std::fill (shelf.z1.begin(), shelf.z1.end(), 1000.0f);
    std::fill (shelf.z2.begin(), shelf.z2.end(), 1000.0f);
    rig.dsp.stages[1]->mix.setTarget (barelyMixed);

    rig.processBlock (buffer, 4 * blockSize, blockSize);
    EXPECT_LT (buffer.getMagnitude (4 * blockSize, blockSize), 5.0f);
}

TEST (Multistage, DryLineStaysInStepWhileStagesSound)
{
    Rig rig;
    rig.setMixes (barelyMixed, 0, 0);
    auto buffer = impulses (2, 40 * blockSize, 0, 1 << 30);
    for (int start = 0; start < buffer.getNumSamples(); start += blockSize)
        rig.processBlock (buffer, start, blockSize);

    EXPECT_EQ (rig.dsp.dryQueue.available[0], rig.dsp.getLatencySamples());
    EXPECT_EQ (rig.dsp.dryQueue.available[1], rig.dsp.getLatencySamples());
}

} // namespace
