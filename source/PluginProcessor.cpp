#include "PluginProcessor.h"
#include "FactoryPresets.h"

#include <cstring>

namespace
{
/** A NaN or infinity from the host would stay in the delay memories and
    filter states until the next reset; such samples are taken as silence.
    The test reads the exponent bits (all set: not finite), which the
    compiler turns into vector code, unlike std::isfinite. */
void silenceNonFiniteSamples (juce::AudioBuffer<float>& buffer) noexcept
{
    for (int c = 0; c < buffer.getNumChannels(); ++c)
    {
        auto* samples = buffer.getWritePointer (c);

        for (int i = 0; i < buffer.getNumSamples(); ++i)
        {
            std::uint32_t bits;
            std::memcpy (&bits, samples + i, sizeof (bits));
            samples[i] = (bits & 0x7f800000u) == 0x7f800000u ? 0.0f : samples[i];
        }
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

    jassert ((size_t) ModelTree::canonicalIds().size() == routes.size());
    auto route = routes.begin();

    for (const auto& id : ModelTree::canonicalIds())
    {
        route->liveId = tree.liveId (id);
        ModelTree::ArgType_index_fromString (id, route->type, route->stage);
        tree.addParameterListener (route->liveId, this);
        ++route;
    }

    for (auto& mix : savedStageMix)
        mix = 0.75f;

    if (! stateLoaded)
        initDefault();

    // The tree only notifies values that change, and the DSP starts from its
    // own defaults, so it is given every value once.
    for (const auto& r : routes)
        if (auto* parameter = tree.getParameter (r.liveId))
            writeToDsp (r.type, r.stage, parameter->convertFrom0to1 (parameter->getValue()));

    tree.undoManager.clearUndoHistory();
    feedbackTimer.startTimer (30);
}

PluginProcessor::~PluginProcessor()
{
    feedbackTimer.stopTimer();

    for (const auto& r : routes)
        tree.removeParameterListener (r.liveId, this);
}

bool PluginProcessor::isBusesLayoutSupported (const BusesLayout& layouts) const
{
    const auto& output = layouts.getMainOutputChannelSet();

    if (output != juce::AudioChannelSet::mono() && output != juce::AudioChannelSet::stereo())
        return false;

    return layouts.getMainInputChannelSet() == output;
}

void PluginProcessor::prepareToPlay (double sampleRate, int)
{
    // The DSP always sees blocks of exactly internalBlockSize samples, so
    // neither the latency nor the sound depends on the host's buffer.
    const auto channels = getTotalNumInputChannels();
    const juce::dsp::ProcessSpec setup { sampleRate,
                                        static_cast<juce::uint32> (internalBlockSize),
                                        static_cast<juce::uint32> (channels) };
    {
        const juce::SpinLock::ScopedLockType hold (fifoLock);
        dsp.prepare (setup);
        fifo.prepare (channels, internalBlockSize);
    }

    setLatencySamples (fifo.getLatencySamples() + dsp.getLatencySamples());
    announceValuesToLv2Host();
}

void PluginProcessor::processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer&)
{
    const juce::ScopedNoDenormals noDenormals;

    for (auto channel = getTotalNumInputChannels(); channel < getTotalNumOutputChannels(); ++channel)
        buffer.clear (channel, 0, buffer.getNumSamples());

    // Leaving bypass needs nothing more: the DSP restarts its stages behind
    // its dry line, which carried the sound through the bypass.
    wasBypassed.store (false, std::memory_order_relaxed);
    runThroughFifo (buffer, false);
}

void PluginProcessor::processBlockBypassed (juce::AudioBuffer<float>& buffer, juce::MidiBuffer&)
{
    runThroughFifo (buffer, true);
    wasBypassed.store (true, std::memory_order_relaxed);
}

void PluginProcessor::runThroughFifo (juce::AudioBuffer<float>& buffer, bool bypassed) noexcept
{
    silenceNonFiniteSamples (buffer);

    const auto channels = juce::jmin (buffer.getNumChannels(), getTotalNumInputChannels());

    if (buffer.getNumSamples() <= 0 || channels <= 0)
        return;

    const juce::SpinLock::ScopedLockType hold (fifoLock);

    fifo.process (buffer.getArrayOfWritePointers(), channels, buffer.getNumSamples(),
                  [this, bypassed] (juce::dsp::AudioBlock<float>& block)
                  {
                      const juce::dsp::ProcessContextReplacing<float> context (block);

                      if (bypassed)
                          dsp.processBypassed (context);
                      else
                          dsp.process (context);
                  });
}

void PluginProcessor::reset()
{
    const juce::SpinLock::ScopedLockType hold (fifoLock);
    dsp.reset();
    fifo.reset();
    wasBypassed.store (false, std::memory_order_relaxed);
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
    if (setFromStateData (data, sizeInBytes))
        announceValuesToLv2Host();
}

const juce::String PluginProcessor::getProgramName (int)
{
    const juce::ScopedLock hold (presetManager.lock);
    const auto id = presetManager.selectedId;

    if (const auto* factory = presetManager.factoryPresetWithId (id))
        return factory->name;

    const auto user = presetManager.userPresets.find (id);

    if (user != presetManager.userPresets.end() && user->second.title.isNotEmpty())
        return user->second.title;

    return "Default";
}

juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    return new PluginProcessor();
}
