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
    [] (const testing::TestParamInfo<LayoutCase>& info) { return std::string (info.param.name); });

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

juce::AudioBuffer<float> ramp (int channels, int samples)
{
    juce::AudioBuffer<float> buffer (channels, samples);
    for (int c = 0; c < channels; ++c)
        for (int i = 0; i < samples; ++i)
            buffer.setSample (c, i, 0.01f * (float) (i + 1) * (c == 0 ? 1.0f : -1.0f));
    return buffer;
}

TEST (PluginProcessor, BypassSetsTheFlagAndTheNextBlockResetsFirst)
{
    PluginProcessor processor;
    processor.prepareToPlay (44100.0, 64);
    juce::MidiBuffer midi;

    auto bypassed = ramp (2, 64);
    processor.processBlockBypassed (bypassed, midi);
    EXPECT_TRUE (processor.wasBypassed);

    auto normal = ramp (2, 64);
    const auto expected = normal;
    processor.processBlock (normal, midi);
    EXPECT_FALSE (processor.wasBypassed);

    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < 64; ++i)
            EXPECT_EQ (normal.getSample (c, i), expected.getSample (c, i));
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

TEST (PluginProcessor, MonoBlocksPassThroughTheFrame)
{
    PluginProcessor processor;
    juce::AudioProcessor::BusesLayout mono;
    mono.inputBuses.add (Set::mono());
    mono.outputBuses.add (Set::mono());
    ASSERT_TRUE (processor.setBusesLayout (mono));
    processor.prepareToPlay (44100.0, 16);

    auto buffer = ramp (1, 16);
    const auto expected = buffer;
    juce::MidiBuffer midi;
    processor.processBlock (buffer, midi);

    for (int i = 0; i < 16; ++i)
        EXPECT_EQ (buffer.getSample (0, i), expected.getSample (0, i));
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
