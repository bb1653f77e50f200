// Block processing neither allocates nor waits: every memory is sized when
// the processor is prepared, and parameter changes reach the DSP without
// waiting for anything, also while another thread writes the same
// parameters. The audio thread's allocations and sleeps are counted.
#include "../support/AudioThreadProbe.h"
#include "../support/ProcessorProbes.h"
#include "../support/TestSignals.h"
#include <gtest/gtest.h>

#include <thread>

namespace
{
struct Settings
{
    const char* name;
    bool parallel;
    float segmentMicros;
    float segmentCount;
    float mix;
};

class OnTheAudioThread : public testing::TestWithParam<Settings> {};

/** Host automation moves every parameter inside the block calls, in odd
    block sizes and through bypass, while a second thread keeps writing the
    same parameters as a user at the editor would. */
TEST_P (OnTheAudioThread, NothingAllocatesOrWaitsUnderAutomation)
{
    if (! audio_thread_probe::available())
        GTEST_SKIP() << "the sanitizers count allocations themselves";

    const auto& s = GetParam();
    PluginProcessor processor;
    setPlain (processor, "Mode", s.parallel ? 1.0f : 0.0f);

    for (int stage = 1; stage <= 3; ++stage)
    {
        setPlain (processor, ModelTree::ArgType_toString (ModelTree::SegSize, stage), s.segmentMicros);
        setPlain (processor, ModelTree::ArgType_toString (ModelTree::NSegs, stage), s.segmentCount);
        if (s.mix >= 0)
            setPlain (processor, ModelTree::ArgType_toString (ModelTree::SegMix, stage), s.mix);
    }

    processor.prepareToPlay (48000.0, 512);

    std::vector<juce::RangedAudioParameter*> parameters;
    for (const auto& id : ModelTree::canonicalIds())
        parameters.push_back (processor.tree.parameter (id));
    auto* firstMix = processor.tree.parameter ("1- Seg Mix");

    std::atomic<bool> done { false };
    std::thread user ([&]
    {
        juce::Random random (2);
        while (! done)
            parameters[(size_t) random.nextInt ((int) parameters.size())]->setValueNotifyingHost (random.nextFloat());
    });

    auto input = noise (2, 600, 1);
    juce::MidiBuffer midi;
    juce::Random random (1);
    int allocations = 0, sleeps = 0, busyWaits = 0;
    juce::vorn_dsp::busy::waitsOnThisThread = 0;

    for (int block = 0; block < 300; ++block)
    {
        const auto n = block % 7 == 3 ? 1 + random.nextInt (600) : 512;
        juce::AudioBuffer<float> view (input.getArrayOfWritePointers(), 2, n);

        audio_thread_probe::arm();

        // Automation: the modes flip, the mixes cross 0, every value moves.
        for (auto* parameter : parameters)
            parameter->setValueNotifyingHost (random.nextFloat());
        if (block % 40 < 20)
            firstMix->setValueNotifyingHost (0.0f);

        if (block % 25 >= 22)
            processor.processBlockBypassed (view, midi);
        else
            processor.processBlock (view, midi);

        audio_thread_probe::disarm();
        allocations += audio_thread_probe::allocations();
        sleeps += audio_thread_probe::sleeps();
    }

    busyWaits = juce::vorn_dsp::busy::waitsOnThisThread;
    done = true;
    user.join();

    EXPECT_EQ (allocations, 0);
    EXPECT_EQ (sleeps, 0);
    EXPECT_EQ (busyWaits, 0);
}

INSTANTIATE_TEST_SUITE_P (Table, OnTheAudioThread, testing::Values (
    Settings { "Defaults", false, 11, 31, -1 },
    Settings { "WorstCaseSeries", false, 1, 91, 120 },
    Settings { "WorstCaseParallel", true, 1, 91, 120 }),
    [] (const testing::TestParamInfo<Settings>& testCase) { return std::string (testCase.param.name); });

TEST (AudioThreadProbe, SeesAnAllocationAndASleep)
{
    if (! audio_thread_probe::available())
        GTEST_SKIP() << "the sanitizers count allocations themselves";

    audio_thread_probe::arm();
    auto block = std::make_unique<juce::MemoryBlock> (1000);
    juce::Thread::sleep (1);
    audio_thread_probe::disarm();

    EXPECT_GE (audio_thread_probe::allocations(), 1);
    EXPECT_EQ (audio_thread_probe::sleeps(), 1);
}
} // namespace
