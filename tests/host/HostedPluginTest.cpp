// The built VST3 and LV2 bundles, loaded through JUCE's own hosting classes:
// what a host sees of parameters, layouts, latency, audio and state.
#include "../support/AudioThreadProbe.h"
#include <HostKit.h>
#include <gtest/gtest.h>

#include <thread>

namespace
{
constexpr double sampleRate = 44100.0;
constexpr int blockSize = 512;

enum class Format { vst3, lv2 };

std::string formatName (const testing::TestParamInfo<Format>& info)
{
    return info.param == Format::vst3 ? "VST3" : "LV2";
}

hostkit::Loaded load (Format format)
{
    if (format == Format::vst3)
        return hostkit::loadVst3 (juce::File (PALIMPSESTER_VST3_BUNDLE), sampleRate, blockSize);

    return hostkit::loadLv2 (PALIMPSESTER_LV2_URI, juce::File (PALIMPSESTER_LV2_FOLDER), sampleRate, blockSize);
}

/** Host order, plain range and default of each parameter, and a distinct
    plain value to set it to. */
struct ParameterRow
{
    const char* name;
    float min, max, defaultValue, probeValue;
};

const ParameterRow parameterTable[] = {
    { "Mode", 0, 1, 0, 1 },
    { "Tone", 0, 100, 75, 40 },
    { "1- N Segs", 2, 91, 31, 10 },  { "1- Seg Size", 1, 48, 11, 5 },  { "1- Seg Mix", 0, 120, 100, 50 },
    { "2- N Segs", 2, 91, 31, 20 },  { "2- Seg Size", 1, 48, 11, 20 }, { "2- Seg Mix", 0, 120, 0, 60 },
    { "3- N Segs", 2, 91, 31, 40 },  { "3- Seg Size", 1, 48, 11, 30 }, { "3- Seg Mix", 0, 120, 0, 70 },
};

float normalised (const ParameterRow& row, float plain)
{
    return (plain - row.min) / (row.max - row.min);
}

class HostedPlugin : public testing::TestWithParam<Format>
{
protected:
    void SetUp() override
    {
        auto loaded = load (GetParam());
        ASSERT_NE (loaded.instance, nullptr) << loaded.error;
        plugin = std::move (loaded.instance);
    }

    /** The plug-in's own parameters in the order the host lists them,
        without the bypass switch the wrapper adds. */
    std::vector<juce::AudioProcessorParameter*> ownParameters() const
    {
        std::vector<juce::AudioProcessorParameter*> own;

        for (auto* parameter : plugin->getParameters())
            if (parameter != plugin->getBypassParameter())
                own.push_back (parameter);

        return own;
    }

    std::unique_ptr<juce::AudioPluginInstance> plugin;
};

TEST_P (HostedPlugin, SeesElevenParametersInOrderWithNamesAndDefaults)
{
    const auto own = ownParameters();
    juce::StringArray names;
    for (auto* parameter : own)
        names.add (parameter->getName (100));

    juce::StringArray expected;
    for (const auto& row : parameterTable)
        expected.add (row.name);

    ASSERT_EQ (names.joinIntoString (", "), expected.joinIntoString (", "));
    EXPECT_NE (plugin->getBypassParameter(), nullptr);

    for (size_t i = 0; i < own.size(); ++i)
    {
        const auto& row = parameterTable[i];
        EXPECT_NEAR (own[i]->getDefaultValue(), normalised (row, row.defaultValue), 1.0e-4) << row.name;
        EXPECT_NEAR (own[i]->getValue(), normalised (row, row.defaultValue), 1.0e-4) << row.name;
    }
}

TEST_P (HostedPlugin, EachParameterSetByTheHostReachesItsOwnParameter)
{
    const auto parameters = ownParameters();
    ASSERT_EQ (parameters.size(), 11u);

    for (size_t i = 0; i < 11; ++i)
        parameters[i]->setValueNotifyingHost (normalised (parameterTable[i], parameterTable[i].probeValue));

    // LV2 delivers parameter changes with the next processed block.
    hostkit::render (*plugin, hostkit::makeSine (2, blockSize, sampleRate, 440.0, 0.1f), sampleRate, blockSize);

    const auto document = hostkit::findStateDocument (hostkit::saveState (*plugin));
    ASSERT_NE (document, nullptr);

    for (const auto& row : parameterTable)
    {
        const auto* param = document->getChildByAttribute ("id", row.name);
        ASSERT_NE (param, nullptr) << row.name;
        EXPECT_NEAR (param->getDoubleAttribute ("value"), row.probeValue, 0.011) << row.name;
    }
}

TEST_P (HostedPlugin, AudioPassesAtTheReportedLatency)
{
    // With every stage's mix at 0 the effect is transparent apart from its delay.
    for (auto* parameter : ownParameters())
        if (parameter->getName (100).endsWith ("Seg Mix"))
            parameter->setValueNotifyingHost (0.0f);

    const int impulseAt = 3000;
    const auto input = hostkit::makeImpulse (2, 24 * blockSize, impulseAt);
    const auto output = hostkit::render (*plugin, input, sampleRate, blockSize);
    const auto latency = plugin->getLatencySamples();
    // One internal block of 64, then three stages of one internal block,
    // the longest group and 6 samples each, whatever the host's buffer.
    EXPECT_EQ (latency, 64 + 3 * (64 + (int) (91 * 48.0e-6f * (float) sampleRate) + 6));

    for (int c = 0; c < 2; ++c)
    {
        EXPECT_EQ (hostkit::firstSampleAbove (output, c, 0.5f), impulseAt + latency) << "channel " << c;
        EXPECT_NEAR (output.getSample (c, impulseAt + latency), 1.0f, 1.0e-3);
    }
}

TEST_P (HostedPlugin, StateSavedInOneInstanceRestoresAnother)
{
    const auto parameters = ownParameters();
    ASSERT_EQ (parameters.size(), 11u);
    for (size_t i = 0; i < 11; ++i)
        parameters[i]->setValueNotifyingHost (normalised (parameterTable[i], parameterTable[i].probeValue));

    const auto input = hostkit::makeSine (2, 12 * blockSize, sampleRate, 997.0, 0.4f);
    const auto firstOutput = hostkit::render (*plugin, input, sampleRate, blockSize);
    const auto state = hostkit::saveState (*plugin);

    auto second = load (GetParam());
    ASSERT_NE (second.instance, nullptr) << second.error;
    second.instance->setStateInformation (state.getData(), (int) state.getSize());
    const auto secondOutput = hostkit::render (*second.instance, input, sampleRate, blockSize);

    const auto restored = hostkit::findStateDocument (hostkit::saveState (*second.instance));
    ASSERT_NE (restored, nullptr);
    for (const auto& row : parameterTable)
        EXPECT_NEAR (restored->getChildByAttribute ("id", row.name)->getDoubleAttribute ("value"), row.probeValue, 0.011) << row.name;

    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < input.getNumSamples(); ++i)
            ASSERT_EQ (secondOutput.getSample (c, i), firstOutput.getSample (c, i)) << "channel " << c << " sample " << i;

    EXPECT_GT (firstOutput.getMagnitude (0, 0, input.getNumSamples()), 0.1f);
}

/** Through the real wrappers: the host automates every parameter inside
    the process calls of an audio thread while the message thread writes the
    same parameters as a user would (the VST3 host hands those to the
    plug-in's controller on the message thread). Whatever the plug-in does
    on the audio thread for the whole run neither allocates nor sleeps. */
TEST_P (HostedPlugin, AutomationUnderConcurrentEditsNeitherAllocatesNorSleeps)
{
    if (! audio_thread_probe::available())
        GTEST_SKIP() << "the sanitizers count allocations themselves";

    const auto parameters = ownParameters();
    ASSERT_EQ (parameters.size(), 11u);
    plugin->prepareToPlay (sampleRate, blockSize);
    juce::MessageManager::getInstance()->runDispatchLoopUntil (20);

    juce::AudioBuffer<float> buffer (2, blockSize);
    juce::MidiBuffer midi;

    std::atomic<bool> done { false };
    std::atomic<int> allocations { 0 }, sleeps { 0 }, blocks { 0 };

    std::thread audio ([&]
    {
        // A first block outside the count: the host's buffers settle, and
        // the framework's thread-local variables get their memory for this
        // thread, once, as on a host's long-lived audio thread.
        juce::Random random (3);
        buffer.clear();
        for (auto* parameter : parameters)
            parameter->setValue (random.nextFloat());
        plugin->processBlock (buffer, midi);

        audio_thread_probe::arm();

        for (int block = 0; block < 400; ++block)
        {
            for (int c = 0; c < 2; ++c)
                for (int i = 0; i < blockSize; ++i)
                    buffer.setSample (c, i, random.nextFloat() - 0.5f);

            for (auto* parameter : parameters)
                parameter->setValue (random.nextFloat());

            plugin->processBlock (buffer, midi);
            ++blocks;
        }

        audio_thread_probe::disarm();
        allocations = audio_thread_probe::allocations();
        sleeps = audio_thread_probe::sleeps();
        done = true;
    });

    juce::Random random (4);
    while (! done)
    {
        parameters[(size_t) random.nextInt (11)]->setValue (random.nextFloat());
        juce::MessageManager::getInstance()->runDispatchLoopUntil (1);
    }

    audio.join();
    plugin->releaseResources();

    // JUCE 7.0.5's VST3 wrapper copies a channel map (a std::vector) in
    // every process call, before it calls the plug-in: one allocation per
    // block that is the framework's own. Anything the plug-in allocated
    // would come on top.
    const int frameworkAllocationsPerBlock = GetParam() == Format::vst3 ? 1 : 0;

    EXPECT_EQ (blocks.load(), 400);
    EXPECT_EQ (allocations.load(), frameworkAllocationsPerBlock * blocks.load());
    EXPECT_EQ (sleeps.load(), 0);
}

INSTANTIATE_TEST_SUITE_P (Formats, HostedPlugin, testing::Values (Format::vst3, Format::lv2), formatName);

struct LayoutCase
{
    const char* name;
    juce::AudioChannelSet input, output;
    bool accepted;
};

class Vst3Layouts : public testing::TestWithParam<LayoutCase> {};

TEST_P (Vst3Layouts, AcceptsOnlyMatchingMonoOrStereo)
{
    auto loaded = load (Format::vst3);
    ASSERT_NE (loaded.instance, nullptr) << loaded.error;

    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add (GetParam().input);
    layout.outputBuses.add (GetParam().output);
    EXPECT_EQ (loaded.instance->setBusesLayout (layout), GetParam().accepted) << GetParam().name;
}

using Set = juce::AudioChannelSet;
INSTANTIATE_TEST_SUITE_P (Table, Vst3Layouts, testing::Values (
    LayoutCase { "MonoToMono", Set::mono(), Set::mono(), true },
    LayoutCase { "StereoToStereo", Set::stereo(), Set::stereo(), true },
    LayoutCase { "MonoToStereo", Set::mono(), Set::stereo(), false },
    LayoutCase { "StereoToMono", Set::stereo(), Set::mono(), false }),
    [] (const testing::TestParamInfo<LayoutCase>& testCase) { return std::string (testCase.param.name); });

TEST (Lv2Layout, BundleDeclaresStereoInAndOut)
{
    auto loaded = load (Format::lv2);
    ASSERT_NE (loaded.instance, nullptr) << loaded.error;
    EXPECT_EQ (loaded.instance->getMainBusNumInputChannels(), 2);
    EXPECT_EQ (loaded.instance->getMainBusNumOutputChannels(), 2);
}

TEST (Vst3Mono, MonoAudioPassesThrough)
{
    auto loaded = load (Format::vst3);
    ASSERT_NE (loaded.instance, nullptr) << loaded.error;
    auto& plugin = *loaded.instance;

    juce::AudioProcessor::BusesLayout mono;
    mono.inputBuses.add (Set::mono());
    mono.outputBuses.add (Set::mono());
    ASSERT_TRUE (plugin.setBusesLayout (mono));

    for (auto* parameter : plugin.getParameters())
        if (parameter->getName (100).endsWith ("Seg Mix"))
            parameter->setValueNotifyingHost (0.0f);

    const auto input = hostkit::makeImpulse (1, 24 * blockSize, 1000);
    const auto output = hostkit::render (plugin, input, sampleRate, blockSize);
    EXPECT_EQ (hostkit::firstSampleAbove (output, 0, 0.5f), 1000 + plugin.getLatencySamples());
}
} // namespace
