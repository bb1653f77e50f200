#pragma once

// Stand-ins for the editor's label updater and the preset selector's
// display, and a counter of the gestures a host would record.

#include <PluginProcessor.h>

struct RecordedLabel
{
    juce::String text;
    int type;
    int stage;
};

struct LabelRecorder : juce::vorn_gui::LabelUpdater
{
    void updateLabel (const juce::String& text, int argType, int stageIndex) override
    {
        labels.push_back ({ text, argType, stageIndex });
    }

    std::vector<RecordedLabel> labels;
};

struct DisplayRecorder : juce::vorn_gui::PresetManager::PresetLoader::PresetDisplay
{
    void updatedPresetModified (bool modified) override { shown.push_back (modified); }
    void selectNewPreset (juce::NotificationType) override { ++newPresetSelections; }

    std::vector<bool> shown;
    int newPresetSelections = 0;
};

struct GestureCounter : juce::AudioProcessorParameter::Listener
{
    explicit GestureCounter (juce::AudioProcessorParameter& p) : parameter (p) { parameter.addListener (this); }
    ~GestureCounter() override { parameter.removeListener (this); }

    void parameterValueChanged (int, float) override {}
    void parameterGestureChanged (int, bool starting) override { gestures += starting ? 1 : 0; }

    juce::AudioProcessorParameter& parameter;
    int gestures = 0;
};

/** Sets a parameter to a plain value as a host would. */
inline void setPlain (PluginProcessor& processor, const juce::String& id, float plain)
{
    auto* parameter = processor.tree.parameter (id);
    parameter->setValueNotifyingHost (parameter->convertTo0to1 (plain));
}

inline float plainValue (PluginProcessor& processor, const juce::String& id)
{
    auto* parameter = processor.tree.parameter (id);
    return parameter->convertFrom0to1 (parameter->getValue());
}
