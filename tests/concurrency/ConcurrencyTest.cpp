// The threads a host runs at once: the audio thread processing, other
// threads writing parameters, a host thread saving and restoring the state,
// the message thread loading presets and undoing. Each test checks what
// must hold afterwards; under the thread sanitizer every unsynchronised
// access between them is reported as well.
#include "../support/ProcessorProbes.h"
#include "../support/TestSignals.h"
#include <gtest/gtest.h>

#include <thread>

namespace
{
constexpr int blockSize = 256;

/** Processes noise on its own thread, with a bypassed stretch now and
    then, until it is destroyed; counts the blocks and whether every output
    sample was finite. */
class AudioThread
{
public:
    explicit AudioThread (PluginProcessor& p) : processor (p)
    {
        processor.prepareToPlay (48000.0, blockSize);
        thread = std::thread ([this] { run(); });
    }

    ~AudioThread() { stop(); }

    void stop()
    {
        running = false;
        if (thread.joinable())
            thread.join();
    }

    void waitForBlocks (int count) const
    {
        while (blocks < count)
            std::this_thread::yield();
    }

    std::atomic<int> blocks { 0 };
    std::atomic<bool> allFinite { true };

private:
    void run()
    {
        auto input = noise (2, blockSize, 9);
        juce::AudioBuffer<float> buffer (2, blockSize);
        juce::MidiBuffer midi;

        while (running)
        {
            buffer.makeCopyOf (input, true);

            if (blocks % 50 >= 45)
                processor.processBlockBypassed (buffer, midi);
            else
                processor.processBlock (buffer, midi);

            for (int c = 0; c < 2; ++c)
                for (int i = 0; i < blockSize; ++i)
                    if (! std::isfinite (buffer.getSample (c, i)))
                        allFinite = false;

            ++blocks;
        }
    }

    PluginProcessor& processor;
    std::atomic<bool> running { true };
    std::thread thread;
};

std::vector<juce::RangedAudioParameter*> parametersOf (PluginProcessor& processor)
{
    std::vector<juce::RangedAudioParameter*> parameters;
    for (const auto& id : ModelTree::canonicalIds())
        parameters.push_back (processor.tree.parameter (id));
    return parameters;
}

TEST (Concurrency, ParameterWritesFromSeveralThreadsWhileProcessing)
{
    PluginProcessor processor;
    const auto parameters = parametersOf (processor);
    AudioThread audio (processor);

    std::vector<std::thread> writers;
    for (int w = 0; w < 2; ++w)
        writers.emplace_back ([&parameters, w]
        {
            juce::Random random (w);
            for (int i = 0; i < 4000; ++i)
                parameters[(size_t) random.nextInt ((int) parameters.size())]->setValueNotifyingHost (random.nextFloat());
        });

    // The message thread writes too, and delivers the labels and marker.
    LabelRecorder labels;
    processor.labelUpdater = &labels;
    juce::Random random (7);
    for (int i = 0; i < 400; ++i)
    {
        parameters[(size_t) random.nextInt ((int) parameters.size())]->setValueNotifyingHost (random.nextFloat());
        processor.deliverPendingFeedback(); // what the feedback timer does
    }

    for (auto& writer : writers)
        writer.join();

    audio.waitForBlocks (200);
    audio.stop();
    processor.labelUpdater = nullptr;

    EXPECT_TRUE (audio.allFinite.load());
    EXPECT_FALSE (labels.labels.empty());

    // Once the writers are done the DSP holds what the tree holds.
    for (int stage = 1; stage <= 3; ++stage)
        EXPECT_EQ (processor.dsp.stages[(size_t) stage - 1]->mix.requestedTarget.load(),
                   plainValue (processor, ModelTree::ArgType_toString (ModelTree::SegMix, stage)));
}

TEST (Concurrency, StateSavedAndRestoredOnAHostThreadWhileProcessing)
{
    PluginProcessor processor;
    setPlain (processor, "Tone", 20);
    juce::MemoryBlock first;
    processor.getStateInformation (first);
    setPlain (processor, "Tone", 80);
    setPlain (processor, "Mode", 1);
    juce::MemoryBlock second;
    processor.getStateInformation (second);

    AudioThread audio (processor);

    std::thread host ([&]
    {
        for (int i = 0; i < 300; ++i)
        {
            juce::MemoryBlock saved;
            processor.getStateInformation (saved);
            const auto& restore = i % 2 == 0 ? first : second;
            processor.setStateInformation (restore.getData(), (int) restore.getSize());
        }
    });

    for (int i = 0; i < 200; ++i)
    {
        processor.deliverPendingFeedback();
        std::this_thread::sleep_for (std::chrono::milliseconds (1));
    }

    host.join();
    audio.waitForBlocks (100);
    audio.stop();

    EXPECT_TRUE (audio.allFinite.load());
    EXPECT_FLOAT_EQ (plainValue (processor, "Tone"), 80.0f); // the last one restored
    EXPECT_FLOAT_EQ (plainValue (processor, "Mode"), 1.0f);
}

TEST (Concurrency, PresetsLoadedAndUndoneWhileProcessing)
{
    PluginProcessor processor;
    DisplayRecorder display;
    processor.display = &display;
    AudioThread audio (processor);

    std::vector<const juce::vorn_gui::PresetManager::FactoryPreset*> presets;
    for (const auto& [id, preset] : processor.presetManager.factoryPresets)
        presets.push_back (&preset);
    ASSERT_FALSE (presets.empty());

    for (int i = 0; i < 60; ++i)
    {
        auto data = presets[(size_t) i % presets.size()]->data;
        ASSERT_TRUE (processor.loadPresetState (data));
        if (i % 3 == 2)
            processor.undoManager->undo();
        processor.deliverPendingFeedback();
    }

    audio.waitForBlocks (100);
    audio.stop();
    processor.display = nullptr;

    EXPECT_TRUE (audio.allFinite.load());
    EXPECT_GT (display.newPresetSelections, 0);
}
} // namespace
