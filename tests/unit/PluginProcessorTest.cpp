#include "../support/ProcessorProbes.h"
#include "../support/TestSignals.h"
#include <gtest/gtest.h>

#include <cstring>

namespace
{
using Set = juce::AudioChannelSet;

struct LayoutCase
{
    const char* name;
    Set input, output;
    bool accepted;
};

class BusLayouts : public testing::TestWithParam<LayoutCase> {};

TEST_P (BusLayouts, AcceptsOnlyMatchingMonoOrStereo)
{
    PluginProcessor processor;
    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add (GetParam().input);
    layout.outputBuses.add (GetParam().output);

    EXPECT_EQ (processor.checkBusesLayoutSupported (layout), GetParam().accepted) << GetParam().name;
    EXPECT_EQ (processor.setBusesLayout (layout), GetParam().accepted) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P (Table, BusLayouts, testing::Values (
    LayoutCase { "MonoToMono", Set::mono(), Set::mono(), true },
    LayoutCase { "StereoToStereo", Set::stereo(), Set::stereo(), true },
    LayoutCase { "MonoToStereo", Set::mono(), Set::stereo(), false },
    LayoutCase { "StereoToMono", Set::stereo(), Set::mono(), false },
    LayoutCase { "DisabledOutput", Set::stereo(), Set::disabled(), false },
    LayoutCase { "BothDisabled", Set::disabled(), Set::disabled(), false },
    LayoutCase { "QuadToQuad", Set::quadraphonic(), Set::quadraphonic(), false }),
    [] (const testing::TestParamInfo<LayoutCase>& testCase) { return std::string (testCase.param.name); });

TEST (PluginProcessor, IdentityBusesAndFixedAnswers)
{
    PluginProcessor processor;
    EXPECT_EQ (processor.getName(), "Palimpsester_v1-1");
    EXPECT_EQ (processor.getBus (true, 0)->getName(), "Input");
    EXPECT_EQ (processor.getBus (false, 0)->getName(), "Output");
    EXPECT_EQ (processor.getMainBusNumInputChannels(), 2);
    EXPECT_EQ (processor.getMainBusNumOutputChannels(), 2);
    EXPECT_EQ (processor.getNumPrograms(), 1);
    EXPECT_EQ (processor.getCurrentProgram(), 0);
    EXPECT_EQ (processor.getProgramName (0), "Default");
    EXPECT_EQ (processor.getTailLengthSeconds(), 0.0);
    EXPECT_FALSE (processor.acceptsMidi());
    EXPECT_FALSE (processor.producesMidi());
    EXPECT_FALSE (processor.isMidiEffect());
    EXPECT_TRUE (processor.hasEditor());
    EXPECT_FALSE (processor.supportsDoublePrecisionProcessing());
}

TEST (PluginProcessor, TheProgramIsNamedAfterTheLoadedPreset)
{
    PluginProcessor processor;
    for (const auto& [id, preset] : processor.presetManager.factoryPresets)
        if (preset.name == "Funboi")
            processor.presetManager.selectedId = id;

    EXPECT_EQ (processor.getProgramName (0), "Funboi");
}

TEST (PluginProcessor, FreshInstanceHasDefaultsAndNothingToUndo)
{
    PluginProcessor processor;

    for (const auto& id : ModelTree::canonicalIds())
    {
        auto* parameter = processor.tree.parameter (id);
        ASSERT_NE (parameter, nullptr) << id;
        EXPECT_EQ (parameter->getValue(), parameter->getDefaultValue()) << id;
    }

    EXPECT_FLOAT_EQ (processor.tree.parameter ("1- Seg Mix")->convertFrom0to1 (processor.tree.parameter ("1- Seg Mix")->getValue()), 100.0f);
    EXPECT_FLOAT_EQ (processor.tree.parameter ("2- Seg Mix")->getValue(), 0.0f);
    EXPECT_FALSE (processor.tree.undoManager.canUndo());
    EXPECT_FALSE (processor.tree.undoManager.canRedo());
    EXPECT_FALSE (processor.stateLoaded);
    EXPECT_FALSE (processor.wasBypassed);
}

void setAllStageMixes (PluginProcessor& processor, float normalised)
{
    for (int stage = 1; stage <= 3; ++stage)
        processor.tree.parameter (ModelTree::ArgType_toString (ModelTree::SegMix, stage))->setValueNotifyingHost (normalised);
}
/** Runs `input` through the processor in host blocks of the sizes that
    `nextBlockSize` gives, bypassed where `bypassedAt` says so for the
    block's first sample. */
juce::AudioBuffer<float> run (PluginProcessor& processor, const juce::AudioBuffer<float>& input,
                              const std::function<int()>& nextBlockSize,
                              const std::function<bool (int)>& bypassedAt = [] (int) { return false; })
{
    juce::AudioBuffer<float> output (input);
    juce::MidiBuffer midi;

    for (int start = 0; start < input.getNumSamples();)
    {
        const auto n = juce::jmin (nextBlockSize(), input.getNumSamples() - start);
        juce::AudioBuffer<float> block (output.getArrayOfWritePointers(), output.getNumChannels(), start, n);
        bypassedAt (start) ? processor.processBlockBypassed (block, midi) : processor.processBlock (block, midi);
        start += n;
    }

    return output;
}

juce::AudioBuffer<float> run (PluginProcessor& processor, const juce::AudioBuffer<float>& input, int blockSize, bool bypassed = false)
{
    return run (processor, input, [blockSize] { return blockSize; }, [bypassed] (int) { return bypassed; });
}

juce::AudioBuffer<float> impulse (int channels, int samples, int at)
{
    return impulses (channels, samples, at, 1 << 30);
}

constexpr float barelyMixed = 0.01f; // percent: sounding, yet nearly transparent

void configure (PluginProcessor& processor, bool parallel, float mix1, float mix2, float mix3)
{
    setPlain (processor, "Mode", parallel ? 1.0f : 0.0f);
    setPlain (processor, "Tone", 100.0f);
    setPlain (processor, "1- Seg Mix", mix1);
    setPlain (processor, "2- Seg Mix", mix2);
    setPlain (processor, "3- Seg Mix", mix3);
}

/** The latency is one internal block and three stages at that block,
    whatever the host's buffer. */
TEST (PluginProcessor, ReportsTheSameLatencyAtEveryHostBuffer)
{
    PluginProcessor processor;

    for (int hostBlock : { 1, 37, 64, 512, 8192 })
    {
        processor.prepareToPlay (44100.0, hostBlock);
        EXPECT_EQ (processor.getLatencySamples(), 64 + 3 * 262) << hostBlock;
        processor.prepareToPlay (48000.0, hostBlock);
        EXPECT_EQ (processor.getLatencySamples(), 901) << hostBlock;
    }
}

struct SoundCase
{
    const char* name;
    bool parallel;
    float mixes[3];
};

const SoundCase soundCases[] = {
    { "Defaults", false, { 100, 0, 0 } },
    { "SeriesAllSounding", false, { 120, 60, 35 } },
    { "ParallelAllSounding", true, { 120, 60, 35 } },
    { "AllSilent", false, { 0, 0, 0 } },
};

class AtEveryHostBuffer : public testing::TestWithParam<SoundCase> {};

/** With constant settings the same input gives the same output, bit for
    bit, however the host cuts it: one sample at a time, odd sizes, blocks
    far larger than it announced, sizes that change from block to block. */
TEST_P (AtEveryHostBuffer, TheOutputIsBitIdentical)
{
    const auto& p = GetParam();
    const auto input = noise (2, 30000, 3);

    auto render = [&] (std::function<int()> nextBlockSize)
    {
        PluginProcessor processor;
        configure (processor, p.parallel, p.mixes[0], p.mixes[1], p.mixes[2]);
        setPlain (processor, "Tone", 40.0f);
        setPlain (processor, "2- N Segs", 5.0f);
        setPlain (processor, "3- Seg Size", 1.5f);
        processor.prepareToPlay (48000.0, 512);
        EXPECT_EQ (processor.getLatencySamples(), 901);
        return run (processor, input, nextBlockSize);
    };

    const auto reference = render ([] { return 64; });
    juce::Random random (11);

    const std::pair<const char*, std::function<int()>> hostBuffers[] = {
        { "1", [] { return 1; } },
        { "37", [] { return 37; } },
        { "512", [] { return 512; } },
        { "8192", [] { return 8192; } },
        { "random", [&random] { return 1 + random.nextInt (10000); } },
    };

    for (const auto& [name, nextBlockSize] : hostBuffers)
    {
        const auto output = render (nextBlockSize);

        for (int c = 0; c < 2; ++c)
            ASSERT_EQ (std::memcmp (output.getReadPointer (c), reference.getReadPointer (c), sizeof (float) * (size_t) output.getNumSamples()), 0)
                << p.name << ", host blocks of " << name << ", channel " << c;
    }
}

INSTANTIATE_TEST_SUITE_P (Table, AtEveryHostBuffer, testing::ValuesIn (soundCases),
                          [] (const testing::TestParamInfo<SoundCase>& testCase) { return std::string (testCase.param.name); });

TEST (PluginProcessor, BypassDelaysByTheLatency)
{
    PluginProcessor processor;
    processor.prepareToPlay (44100.0, 256);
    const auto latency = processor.getLatencySamples();

    const auto bypassed = run (processor, impulse (2, latency + 512, 100), 256, true);
    EXPECT_TRUE (processor.wasBypassed);
    for (int c = 0; c < 2; ++c)
    {
        EXPECT_EQ (bypassed.getSample (c, 100 + latency), 1.0f);
        EXPECT_EQ (bypassed.findMinMax (c, 0, latency + 512).getLength(), 1.0f);
    }

    run (processor, impulse (2, 256, 10), 256);
    EXPECT_FALSE (processor.wasBypassed);
}

struct BypassCase
{
    const char* name;
    bool parallel;
    int from, to; // the span of input samples during which the host bypasses
};

class AcrossBypass : public testing::TestWithParam<BypassCase> {};

/** Bypass on and off: the dry line carries the sound while the stages
    restart, so every pulse comes out once, at the reported latency. */
TEST_P (AcrossBypass, EveryPulseComesOutOnceAtTheLatency)
{
    const auto& p = GetParam();
    PluginProcessor processor;
    configure (processor, p.parallel, barelyMixed, p.parallel ? 0.0f : barelyMixed, p.parallel ? 0.0f : barelyMixed);
    processor.prepareToPlay (48000.0, 100);
    const auto latency = processor.getLatencySamples();

    const int total = 20000, first = 40, spacing = 151;
    const auto output = run (processor, bumps (2, total, first, spacing),
                             [] { return 100; },
                             [&p] (int start) { return start >= p.from && start < p.to; });

    std::vector<int> expected;
    for (int t = first; t + latency + bumpHalfWidth < total; t += spacing)
        expected.push_back (t + latency);

    for (int c = 0; c < 2; ++c)
        EXPECT_EQ (peaks (output, c, 0.5f), expected) << p.name << ", channel " << c;
}

INSTANTIATE_TEST_SUITE_P (Table, AcrossBypass, testing::Values (
    BypassCase { "SeriesLongBypass", false, 3000, 9000 },
    BypassCase { "SeriesShortBypass", false, 3000, 3300 },
    BypassCase { "ParallelLongBypass", true, 3000, 9000 },
    BypassCase { "ParallelShortBypass", true, 3000, 3300 },
    BypassCase { "BypassedFromTheStart", false, 0, 5000 }),
    [] (const testing::TestParamInfo<BypassCase>& testCase) { return std::string (testCase.param.name); });

TEST (PluginProcessor, EmptyBlocksAreLeftAlone)
{
    PluginProcessor processor;
    processor.prepareToPlay (48000.0, 32);
    juce::MidiBuffer midi;

    juce::AudioBuffer<float> noSamples (2, 0);
    processor.processBlock (noSamples, midi);
    processor.processBlockBypassed (noSamples, midi);

    juce::AudioBuffer<float> noChannels (0, 32);
    processor.processBlock (noChannels, midi);
    EXPECT_TRUE (midi.isEmpty());
}

TEST (PluginProcessor, MonoDryPathDelaysByTheLatency)
{
    PluginProcessor processor;
    juce::AudioProcessor::BusesLayout mono;
    mono.inputBuses.add (Set::mono());
    mono.outputBuses.add (Set::mono());
    ASSERT_TRUE (processor.setBusesLayout (mono));
    processor.prepareToPlay (44100.0, 128);
    setAllStageMixes (processor, 0.0f);

    const auto latency = processor.getLatencySamples();
    const auto output = run (processor, impulse (1, latency + 1024, 300), 128);
    EXPECT_EQ (output.getSample (0, 300 + latency), 1.0f);
    EXPECT_EQ (output.getMagnitude (0, 0, output.getNumSamples()), 1.0f);
}

class NonFiniteInput : public testing::TestWithParam<SoundCase> {};

/** NaN and infinite samples are taken as silence: the output is exactly
    that of the same input with those samples zeroed, processed or bypassed. */
TEST_P (NonFiniteInput, IsTakenAsSilence)
{
    const auto& p = GetParam();
    auto clean = noise (2, 6000, 5);
    auto dirty = clean;

    for (int i = 100; i < 6000; i += 397)
    {
        const auto c = (i / 397) % 2;
        clean.setSample (c, i, 0.0f);
        dirty.setSample (c, i, (i / 397) % 3 == 0 ? std::numeric_limits<float>::quiet_NaN()
                                                  : std::numeric_limits<float>::infinity() * (i % 2 == 0 ? 1.0f : -1.0f));
    }

    for (bool bypassed : { false, true })
    {
        auto render = [&] (const juce::AudioBuffer<float>& input)
        {
            PluginProcessor processor;
            configure (processor, p.parallel, p.mixes[0], p.mixes[1], p.mixes[2]);
            processor.prepareToPlay (48000.0, 256);
            return run (processor, input, 256, bypassed);
        };

        const auto fromClean = render (clean);
        const auto fromDirty = render (dirty);

        for (int c = 0; c < 2; ++c)
            ASSERT_EQ (std::memcmp (fromClean.getReadPointer (c), fromDirty.getReadPointer (c), sizeof (float) * 6000), 0)
                << p.name << (bypassed ? ", bypassed" : "") << ", channel " << c;
    }
}

INSTANTIATE_TEST_SUITE_P (Table, NonFiniteInput, testing::ValuesIn (soundCases),
                          [] (const testing::TestParamInfo<SoundCase>& testCase) { return std::string (testCase.param.name); });

TEST (PluginProcessor, Lv2InstanceStoresCanonicalIdsAndRestoresIntoAnyFormat)
{
    juce::AudioProcessor::setTypeOfNextNewPlugin (juce::AudioProcessor::wrapperType_LV2);
    PluginProcessor lv2;
    juce::AudioProcessor::setTypeOfNextNewPlugin (juce::AudioProcessor::wrapperType_Undefined);
    ASSERT_TRUE (lv2.tree.usesLv2SafeIds());

    lv2.tree.parameter ("2- Seg Size")->setValueNotifyingHost (0.5f);
    lv2.tree.parameter ("3- N Segs")->setValueNotifyingHost (1.0f);

    juce::MemoryBlock state;
    lv2.getStateInformation (state);
    const auto xml = juce::AudioProcessor::getXmlFromBinary (state.getData(), (int) state.getSize());
    ASSERT_NE (xml, nullptr);
    EXPECT_NE (xml->getChildByAttribute ("id", "2- Seg Size"), nullptr);
    EXPECT_EQ (xml->getChildByAttribute ("id", "stage2_length"), nullptr);

    PluginProcessor other;
    ASSERT_TRUE (other.setFromStateData (state.getData(), (int) state.getSize()));

    for (const auto& id : ModelTree::canonicalIds())
        EXPECT_EQ (other.tree.parameter (id)->getValue(), lv2.tree.parameter (id)->getValue()) << id;

    EXPECT_FLOAT_EQ (other.tree.parameter ("2- Seg Size")->getValue(), 0.5f);
    EXPECT_FLOAT_EQ (other.tree.parameter ("3- N Segs")->getValue(), 1.0f);
    EXPECT_FLOAT_EQ (other.tree.parameter ("1- Seg Size")->getValue(), lv2.tree.parameter ("1- Seg Size")->getDefaultValue());
}
} // namespace
