#include "PluginProcessor.h"

namespace
{
constexpr auto companyName = "Quillmark";
constexpr auto productName = "Palimpsester";
constexpr auto productVersion = "1.1.3";

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
      tree (*this)
{
    for (const auto& id : ModelTree::canonicalIds())
        tree.addParameterListener (tree.liveId (id), this);

    if (! stateLoaded)
        initDefault();

    // The tree only notifies values that change; the DSP starts from its
    // own defaults, so it is given every value once.
    for (const auto& id : ModelTree::canonicalIds())
        if (auto* parameter = tree.parameter (id))
            parameterChanged (tree.liveId (id), parameter->convertFrom0to1 (parameter->getValue()));

    tree.undoManager.clearUndoHistory();
}

PluginProcessor::~PluginProcessor()
{
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
    const juce::dsp::ProcessSpec spec { sampleRate,
                                        static_cast<juce::uint32> (juce::jmax (0, maximumBlockSize)),
                                        static_cast<juce::uint32> (getTotalNumInputChannels()) };
    dsp.prepare (spec);
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

void PluginProcessor::parameterChanged (const juce::String& parameterID, float newValue)
{
    ModelTree::ArgType type;
    int stage;
    ModelTree::ArgType_index_fromString (tree.canonicalId (parameterID), type, stage);
    writeToDsp (type, stage, newValue);
}

void PluginProcessor::writeToDsp (ModelTree::ArgType type, int stage, float value)
{
    const bool perStage = type == ModelTree::NSegs || type == ModelTree::SegSize || type == ModelTree::SegMix;

    if (perStage && (stage < 1 || stage > (int) dsp.stages.size()))
        return;

    switch (type)
    {
        case ModelTree::NSegs:   dsp.stages[(size_t) stage - 1]->numSegments.value.store ((int) value); break;
        case ModelTree::SegSize: dsp.stages[(size_t) stage - 1]->segmentSize.setTarget (value); break;
        case ModelTree::SegMix:  dsp.stages[(size_t) stage - 1]->mix.setTarget (value); break;

        case ModelTree::Tone:
            for (auto& s : dsp.stages)
                s->toneFilter.tone.value.store (value);
            break;

        case ModelTree::Mode:
            if ((int) value != dsp.mode.index.load())
                dsp.mode.index.store ((int) value);
            break;

        case ModelTree::Invalid:
        default:
            break;
    }
}

void PluginProcessor::getStateData (juce::MemoryBlock& destination, bool)
{
    auto state = tree.withCanonicalIds (tree.copyState());
    state.setProperty ("CompanyName", companyName, nullptr);
    state.setProperty ("ProductNameWithoutVersion", productName, nullptr);
    state.setProperty ("ProductVersion", productVersion, nullptr);

    destination.reset();
    if (const auto xml = state.createXml())
        copyXmlToBinary (*xml, destination);
}

bool PluginProcessor::setFromStateData (const void* data, int sizeInBytes)
{
    const auto xml = getXmlFromBinary (data, sizeInBytes);

    if (xml == nullptr || ! xml->getTagName().equalsIgnoreCase (treeIdentifier.toString()))
        return false;

    tree.replaceState (tree.withLiveIds (juce::ValueTree::fromXml (*xml)));
    stateLoaded = true;
    return true;
}

void PluginProcessor::initDefault()
{
    for (const auto& id : ModelTree::canonicalIds())
        if (auto* parameter = tree.parameter (id))
            parameter->setValueNotifyingHost (parameter->getDefaultValue());
}

juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    return new PluginProcessor();
}
