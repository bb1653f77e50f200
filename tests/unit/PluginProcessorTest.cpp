#include <PluginProcessor.h>
#include <gtest/gtest.h>

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
    EXPECT_TRUE (processor.getProgramName (0).isEmpty());
    EXPECT_EQ (processor.getTailLengthSeconds(), 0.0);
    EXPECT_FALSE (processor.acceptsMidi());
    EXPECT_FALSE (processor.producesMidi());
    EXPECT_FALSE (processor.isMidiEffect());
    EXPECT_TRUE (processor.hasEditor());
    EXPECT_FALSE (processor.supportsDoublePrecisionProcessing());
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

/** Runs `input` through the processor block by block. */
juce::AudioBuffer<float> run (PluginProcessor& processor, const juce::AudioBuffer<float>& input, int blockSize, bool bypassed = false)
{
    juce::AudioBuffer<float> output (input);
    juce::MidiBuffer midi;

    for (int start = 0; start < input.getNumSamples(); start += blockSize)
    {
        const auto n = juce::jmin (blockSize, input.getNumSamples() - start);
        juce::AudioBuffer<float> block (output.getArrayOfWritePointers(), output.getNumChannels(), start, n);
        bypassed ? processor.processBlockBypassed (block, midi) : processor.processBlock (block, midi);
    }

    return output;
}

juce::AudioBuffer<float> impulse (int channels, int samples, int at)
{
    juce::AudioBuffer<float> buffer (channels, samples);
    buffer.clear();
    for (int c = 0; c < channels; ++c)
        buffer.setSample (c, at, 1.0f);
    return buffer;
}

TEST (PluginProcessor, ReportsTheLatencyOfThreeStages)
{
    PluginProcessor processor;
    processor.prepareToPlay (44100.0, 512);
    EXPECT_EQ (processor.getLatencySamples(), 3 * 710);
    processor.prepareToPlay (48000.0, 512);
    EXPECT_EQ (processor.getLatencySamples(), 3 * 727);
}

TEST (PluginProcessor, BypassDelaysByTheLatencyAndTheNextNormalBlockResets)
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

    // An impulse still in the dry line when bypass ends is gone: the first
    // normal block restarts every delay memory from silence.
    setAllStageMixes (processor, 0.0f);
    run (processor, impulse (2, 256, 10), 256, true);
    juce::AudioBuffer<float> silence (2, latency + 512);
    silence.clear();
    const auto after = run (processor, silence, 256);
    EXPECT_FALSE (processor.wasBypassed);
    for (int c = 0; c < 2; ++c)
        EXPECT_EQ (after.getMagnitude (c, 0, after.getNumSamples()), 0.0f);
}

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

TEST (PluginProcessor, NonFiniteInputIsTakenAsSilence)
{
    PluginProcessor processor;
    processor.prepareToPlay (48000.0, 64);
    auto input = impulse (2, 4096, 0);
    input.setSample (0, 5, std::numeric_limits<float>::quiet_NaN());
    input.setSample (1, 9, std::numeric_limits<float>::infinity());

    const auto output = run (processor, input, 64);
    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < output.getNumSamples(); ++i)
            ASSERT_TRUE (std::isfinite (output.getSample (c, i))) << c << ":" << i;
}

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
