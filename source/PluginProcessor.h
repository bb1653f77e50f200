#pragma once

#include <juce_audio_processors/juce_audio_processors.h>
#include <vorn_dsp/vorn_dsp.h>

#include "ModelTree.h"

/** The object the host talks to: buses, block processing and bypass, the
    parameter tree, and the state document. */
class PluginProcessor : public juce::AudioProcessor,
                        public juce::AudioProcessorValueTreeState::Listener
{
public:
    PluginProcessor();
    ~PluginProcessor() override;

    const juce::String getName() const override { return "Palimpsester_v1-1"; }

    bool isBusesLayoutSupported (const BusesLayout& layouts) const override;
    void prepareToPlay (double sampleRate, int maximumBlockSize) override;
    void releaseResources() override {}
    void processBlock (juce::AudioBuffer<float>&, juce::MidiBuffer&) override;
    void processBlockBypassed (juce::AudioBuffer<float>&, juce::MidiBuffer&) override;
    using juce::AudioProcessor::processBlock;
    using juce::AudioProcessor::processBlockBypassed;
    void reset() override;

    double getTailLengthSeconds() const override { return 0.0; }
    bool acceptsMidi() const override { return false; }
    bool producesMidi() const override { return false; }
    bool isMidiEffect() const override { return false; }

    juce::AudioProcessorEditor* createEditor() override;
    bool hasEditor() const override { return true; }

    int getNumPrograms() override { return 1; }
    int getCurrentProgram() override { return 0; }
    void setCurrentProgram (int) override {}
    const juce::String getProgramName (int) override { return {}; }
    void changeProgramName (int, const juce::String&) override {}

    void getStateInformation (juce::MemoryBlock& destData) override;
    void setStateInformation (const void* data, int sizeInBytes) override;

    void parameterChanged (const juce::String& parameterID, float newValue) override;

    /** The state document: a framework XML block holding the parameter tree. */
    void getStateData (juce::MemoryBlock& destination, bool includePresetInfo);
    bool setFromStateData (const void* data, int sizeInBytes);
    /** Puts every parameter at its default, notifying host and listeners. */
    void initDefault();

    ModelTree tree;
    juce::vorn_dsp::PalimpsesterMultistage<float, 3> dsp { ModelTree::modeChoices };
    bool stateLoaded = false;
    bool wasBypassed = false;

private:
    static BusesProperties createBuses();

    /** Writes one parameter's plain value to the DSP argument it drives. */
    void writeToDsp (ModelTree::ArgType type, int stage, float value);

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PluginProcessor)
};
