#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

/** Loads built plug-in bundles through JUCE's hosting classes, the way a host
    would, and runs audio through them. */
namespace hostkit
{

/** Keeps the framework's message machinery alive; create one per process
    before loading anything. */
struct Session
{
    juce::ScopedJuceInitialiser_GUI juce;
};

struct Loaded
{
    std::unique_ptr<juce::AudioPluginInstance> instance;
    juce::String error;
};

/** Loads the VST3 bundle at `bundle`. */
Loaded loadVst3 (const juce::File& bundle, double sampleRate, int blockSize);

/** Loads the LV2 plug-in `uri` from the standard LV2 folders (~/.lv2 first). */
Loaded loadLv2 (const juce::String& uri, double sampleRate, int blockSize);

/** Loads the LV2 plug-in `uri` from the bundles in `bundleFolder` only,
    whatever copies the standard folders hold. */
Loaded loadLv2 (const juce::String& uri, const juce::File& bundleFolder, double sampleRate, int blockSize);

/** Prepares the plug-in and runs `input` through it in blocks of `blockSize`
    samples; the plug-in's bus layout must match the input's channel count.
    Returns the output. */
juce::AudioBuffer<float> render (juce::AudioPluginInstance& plugin,
                                 const juce::AudioBuffer<float>& input,
                                 double sampleRate,
                                 int blockSize);

/** The plug-in's state block as the host would store it. */
juce::MemoryBlock saveState (juce::AudioPluginInstance& plugin);

/** Finds the plug-in's own state document (the framework's XML block that
    starts with the magic "VC2!") inside whatever the format wrapper stored:
    the block itself, a VST3 state XML or an LV2 state in Turtle, with the
    framework's base64 encoding on the way. Returns nullptr when none is found. */
std::unique_ptr<juce::XmlElement> findStateDocument (const juce::MemoryBlock& hostState);

juce::AudioBuffer<float> makeSine (int channels, int samples, double sampleRate, double frequency, float amplitude);
juce::AudioBuffer<float> makeImpulse (int channels, int samples, int position);

float rms (const juce::AudioBuffer<float>& buffer, int channel, int start, int count);

/** Index of the first sample whose magnitude exceeds `threshold`, or -1. */
int firstSampleAbove (const juce::AudioBuffer<float>& buffer, int channel, float threshold);

} // namespace hostkit
