#include "PluginProcessor.h"
#include "FactoryPresets.h"

namespace
{
/** A NaN or infinity from the host would stay in the delay memories and
    filter states until the next reset; such samples are taken as silence. */
void silenceNonFiniteSamples (juce::AudioBuffer<float>& buffer) noexcept
{
    for (int c = 0; c < buffer.getNumChannels(); ++c)
    {
        auto* samples = buffer.getWritePointer (c);

        for (int i = 0; i < buffer.getNumSamples(); ++i)
            if (! std::isfinite (samples[i]))
                samples[i] = 0.0f;
    }
}
} // namespace

juce::AudioProcessor::BusesProperties PluginProcessor::createBuses()
{
    return BusesProperties()
        .withInput ("Input", juce::AudioChannelSet::stereo(), true)
        .withOutput ("Output", juce::AudioChannelSet::stereo(), true);
}

PluginProcessor::PluginProcessor()
    : juce::AudioProcessor (createBuses()),
      tree (*this),
      presetManager (this, fileServerManager.presetsFolder, presetFormatName, registerFactoryPresets)
{
    undoManager = &tree.undoManager;
    keyMaker = this;

    for (const auto& id : ModelTree::canonicalIds())
        tree.addParameterListener (tree.liveId (id), this);

    for (auto& mix : savedStageMix)
        mix = 0.75f;

    if (! stateLoaded)
        initDefault();

    // The tree only notifies values that change, and the DSP starts from its
    // own defaults, so it is given every value once.
    for (const auto& id : ModelTree::canonicalIds())
    {
        ModelTree::ArgType type;
        int stage;
        ModelTree::ArgType_index_fromString (id, type, stage);

        if (auto* parameter = tree.parameter (id))
            writeToDsp (type, stage, parameter->convertFrom0to1 (parameter->getValue()));
    }

    tree.undoManager.clearUndoHistory();
    feedbackTimer.startTimer (30);
}

PluginProcessor::~PluginProcessor()
{
    feedbackTimer.stopTimer();

    for (const auto& id : ModelTree::canonicalIds())
        tree.removeParameterListener (tree.liveId (id), this);
}

bool PluginProcessor::isBusesLayoutSupported (const BusesLayout& layouts) const
{
    const auto& output = layouts.getMainOutputChannelSet();

    if (output != juce::AudioChannelSet::mono() && output != juce::AudioChannelSet::stereo())
        return false;

    return layouts.getMainInputChannelSet() == output;
}

void PluginProcessor::prepareToPlay (double sampleRate, int maximumBlockSize)
{
    const juce::dsp::ProcessSpec setup { sampleRate,
                                        static_cast<juce::uint32> (juce::jmax (0, maximumBlockSize)),
                                        static_cast<juce::uint32> (getTotalNumInputChannels()) };
    dsp.prepare (setup);
    setLatencySamples (dsp.getLatencySamples());
}

void PluginProcessor::processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer&)
{
    const juce::ScopedNoDenormals noDenormals;

    for (auto channel = getTotalNumInputChannels(); channel < getTotalNumOutputChannels(); ++channel)
        buffer.clear (channel, 0, buffer.getNumSamples());

    silenceNonFiniteSamples (buffer);

    juce::dsp::AudioBlock<float> block (buffer);

    if (wasBypassed)
        reset();

    if (block.getNumSamples() > 0 && block.getNumChannels() > 0)
        dsp.process (juce::dsp::ProcessContextReplacing<float> (block));
}

void PluginProcessor::processBlockBypassed (juce::AudioBuffer<float>& buffer, juce::MidiBuffer&)
{
    silenceNonFiniteSamples (buffer);

    juce::dsp::AudioBlock<float> block (buffer);

    if (block.getNumSamples() > 0 && block.getNumChannels() > 0)
        dsp.processBypassed (juce::dsp::ProcessContextReplacing<float> (block));

    wasBypassed = true;
}

void PluginProcessor::reset()
{
    dsp.reset();
    wasBypassed = false;
}

juce::AudioProcessorEditor* PluginProcessor::createEditor()
{
    return new juce::GenericAudioProcessorEditor (*this);
}

void PluginProcessor::getStateInformation (juce::MemoryBlock& destData)
{
    getStateData (destData, true);
}

void PluginProcessor::setStateInformation (const void* data, int sizeInBytes)
{
    setFromStateData (data, sizeInBytes);
}

juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    return new PluginProcessor();
}
