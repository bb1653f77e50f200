#pragma once

#include <juce_audio_processors/juce_audio_processors.h>
#include <vorn_dsp/vorn_dsp.h>
#include <vorn_gui/vorn_gui.h>

#include "ModelTree.h"
#include "PresetFormat.h"

/** The object the host talks to: buses, block processing and bypass, the
    parameter tree and the routing of its changes, and the state document. */
class PluginProcessor : public juce::AudioProcessor,
                        public juce::AudioProcessorValueTreeState::Listener,
                        public juce::vorn_gui::FileServerManager::KeyMaker,
                        public juce::vorn_gui::PresetManager::PresetLoader,
                        public juce::vorn_gui::UserValueUpdater
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

    /** The one program is named after the loaded preset, or "Default":
        hosts list it, and a nameless entry fails their checks. */
    const juce::String getProgramName (int) override;
    void changeProgramName (int, const juce::String&) override {}

    void getStateInformation (juce::MemoryBlock& destData) override;
    void setStateInformation (const void* data, int sizeInBytes) override;

    //==============================================================================
    // Parameter changes, label texts and typed values.

    /** Every parameter change, on whatever thread it arrives: writes the DSP
        argument, marks the loaded preset as modified and has the label
        rewritten on the message thread. */
    void parameterChanged (const juce::String& parameterID, float newValue) override;

    /** Message thread: builds a parameter's label text and hands it to the
        registered editor. */
    void callUpdateLabel (ModelTree::ArgType type, int stageIndex);

    /** Message thread: a typed or stepped value, in the parameter's units. */
    void userUpdateValue (const juce::String& parameterID, float value) override;

    /** Message thread: switches stage `stageIndex` (1 to 3) off, or back on
        at the mix it had; returns whether it was sounding. */
    bool togglePalimpsesterStageMix (int stageIndex);

    /** Message thread: delivers what changes on other threads left for the
        editor and the preset display. Runs from a timer. */
    void deliverPendingFeedback();

    //==============================================================================
    // The state document.

    void getStateData (juce::MemoryBlock& destination, bool includePresetInfo) override;
    bool setFromStateData (const void* data, int sizeInBytes) override;
    void initDefault() override;

    int create_BIT_SHIFT() const override { return presetBitShift; }

    //==============================================================================
    ModelTree tree;
    std::atomic<float> savedStageMix[3];
    juce::vorn_gui::FileServerManager fileServerManager;
    juce::vorn_gui::PresetManager presetManager;
    std::atomic<juce::vorn_gui::LabelUpdater*> labelUpdater { nullptr };
    juce::vorn_dsp::PalimpsesterMultistage<float, 3> dsp { ModelTree::modeChoices };
    std::atomic<bool> stateLoaded { false };
    std::atomic<bool> wasBypassed { false };

    /** The DSP runs in blocks of this many samples, whatever the host's. */
    static constexpr int internalBlockSize = 64;

private:
    static BusesProperties createBuses();

    /** Feeds the buffer through the FIFO; full internal blocks go through
        the effect, or through its dry line when `bypassed`. */
    void runThroughFifo (juce::AudioBuffer<float>& buffer, bool bypassed) noexcept;

    /** What a parameter drives, resolved once from its ID at construction,
        so that a change (on the audio thread, under automation) costs no
        string work. */
    struct ParameterRoute
    {
        juce::String liveId;
        ModelTree::ArgType type = ModelTree::Invalid;
        int stage = -1;
    };

    const ParameterRoute* routeFor (const juce::String& liveId) const noexcept;

    /** JUCE's LV2 wrapper answers no requests for parameter values; it only
        sends the values that the plug-in reports as changed. Reporting all
        of them after activation and after a state restore lets LV2 hosts
        show the true values. Other formats ask for values themselves. */
    void announceValuesToLv2Host();

    /** Writes one parameter's plain value to the DSP argument it drives. */
    void writeToDsp (ModelTree::ArgType type, int stage, float value);

    /** Sets the parameter as one gesture, as the host records it. */
    static void setAsGesture (juce::RangedAudioParameter& parameter, float normalised);

    juce::String labelText (ModelTree::ArgType type, int stage);

    /** What the state document records of the loaded preset: the factory
        preset's name, or the user preset's file. */
    juce::String loadedPresetRecord();

    /** Selects the preset a restored document records. */
    void restoreLoadedPreset (const juce::String& record, bool recordedModified);

    /** Sets the modified flag to what a restored document records. */
    void applyRecordedModified (bool recordedModified);

    /** Tells the preset display of the flag: at once on the message thread,
        from the feedback timer otherwise. */
    void showPresetModified();

    /** Pending work for the message thread, one bit per label and one for
        the preset display, set without blocking on any thread. */
    static constexpr juce::uint32 presetDisplayBit = 1u << 11;
    static juce::uint32 labelBit (ModelTree::ArgType type, int stage);
    void requestFeedback (juce::uint32 bits) { pendingFeedback.fetch_or (bits); }

    struct FeedbackTimer : juce::Timer
    {
        explicit FeedbackTimer (PluginProcessor& p) : processor (p) {}
        void timerCallback() override { processor.deliverPendingFeedback(); }
        PluginProcessor& processor;
    };

    std::array<ParameterRoute, 11> routes;

    /** Set while every value is reported to an LV2 host. A thread-local
        flag would do, but the first touch of a plug-in's thread-local
        variable on a new thread allocates. */
    std::atomic<bool> announcingValues { false };
    std::atomic<juce::uint32> pendingFeedback { 0 };
    FeedbackTimer feedbackTimer { *this };

    /** Serialises the state calls, which a host may make on its own thread,
        with each other; the preset library's fields have their own lock. */
    juce::CriticalSection stateLock;

    juce::vorn_dsp::FixedBlockFifo<float> fifo;

    /** Keeps the FIFO's position and contents whole when the host resets or
        prepares on another thread while processing. */
    juce::SpinLock fifoLock;


    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PluginProcessor)
};
