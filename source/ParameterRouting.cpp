#include "PluginProcessor.h"

namespace
{
bool isPerStage (ModelTree::ArgType type)
{
    return type == ModelTree::NSegs || type == ModelTree::SegSize || type == ModelTree::SegMix;
}

bool onMessageThread()
{
    return juce::MessageManager::existsAndIsCurrentThread();
}

/** Whether a parsed ID names one of the parameters: a global kind, or a
    per-stage kind of stage 1 to 3. */
bool namesAParameter (ModelTree::ArgType type, int stage)
{
    return type != ModelTree::Invalid && (! isPerStage (type) || (stage >= 1 && stage <= 3));
}
} // namespace

const PluginProcessor::ParameterRoute* PluginProcessor::routeFor (const juce::String& liveId) const noexcept
{
    for (const auto& route : routes)
        if (route.liveId == liveId)
            return &route;

    return nullptr;
}

void PluginProcessor::announceValuesToLv2Host()
{
    if (wrapperType != wrapperType_LV2)
        return;

    // These reports change nothing, so they do not mark the preset as
    // modified.
    announcingValues = true;

    for (auto* parameter : getParameters())
        parameter->sendValueChangedMessageToListeners (parameter->getValue());

    announcingValues = false;
}

void PluginProcessor::parameterChanged (const juce::String& parameterID, float newValue)
{
    const auto* route = routeFor (parameterID);

    if (route == nullptr || ! namesAParameter (route->type, route->stage))
        return;

    const auto type = route->type;
    const auto stage = route->stage;
    writeToDsp (type, stage, newValue);

    const bool messageThread = onMessageThread();

    if (! announcingValues.load (std::memory_order_relaxed) && ! presetModified.exchange (true))
    {
        if (! messageThread)
            requestFeedback (presetDisplayBit);
        else if (display != nullptr)
            display->updatedPresetModified (true);
    }

    if (labelUpdater.load() != nullptr)
    {
        if (messageThread)
            callUpdateLabel (type, stage);
        else
            requestFeedback (labelBit (type, stage));
    }
}

void PluginProcessor::writeToDsp (ModelTree::ArgType type, int stage, float value)
{
    if (! namesAParameter (type, stage))
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

juce::String PluginProcessor::labelText (ModelTree::ArgType type, int stage)
{
    using juce::vorn_dsp::prefixValueSeparator;
    using juce::vorn_dsp::stringFromFloat;

    auto prefixed = [] (const std::string& name, const std::string& value, const std::string& postfix)
    {
        return (name.empty() ? std::string() : name + prefixValueSeparator) + value + postfix;
    };

    if (! namesAParameter (type, stage))
        return {};

    switch (type)
    {
        case ModelTree::NSegs:
        {
            const auto& count = dsp.stages[(size_t) stage - 1]->numSegments;
            return prefixed (count.name, std::to_string (count.value.load()), count.postfix);
        }

        case ModelTree::SegSize:
            return juce::String (juce::CharPointer_UTF8 (dsp.stages[(size_t) stage - 1]->segmentSize.getLabelText (1).c_str()))
                .replace ("<microseconds>", juce::CharPointer_UTF8 ("\xc2\xb5s"));

        case ModelTree::SegMix:
            return juce::String (dsp.stages[(size_t) stage - 1]->mix.getLabelText (1));

        case ModelTree::Tone:
        {
            const auto& tone = dsp.stages[0]->toneFilter.tone;
            return prefixed (tone.name, stringFromFloat (tone.value.load(), 1), tone.postfix);
        }

        case ModelTree::Mode:
            return prefixed (dsp.mode.name, dsp.mode.currentName(), dsp.mode.postfix);

        case ModelTree::Invalid:
        default:
            return {};
    }
}

void PluginProcessor::callUpdateLabel (ModelTree::ArgType type, int stageIndex)
{
    JUCE_ASSERT_MESSAGE_THREAD

    if (auto* updater = labelUpdater.load())
        updater->updateLabel (labelText (type, stageIndex), (int) type, stageIndex);
}

void PluginProcessor::userUpdateValue (const juce::String& parameterID, float value)
{
    ModelTree::ArgType type;
    int stage;
    ModelTree::ArgType_index_fromString (parameterID, type, stage);
    auto* parameter = tree.parameter (parameterID);

    if (type == ModelTree::Invalid || parameter == nullptr)
    {
        callUpdateLabel (ModelTree::Invalid, -1);
        return;
    }

    if (type == ModelTree::Mode)
    {
        // Any number picks one of the two choices; anything else is refused.
        if (! std::isfinite (value))
        {
            callUpdateLabel (type, stage);
            return;
        }

        const auto choice = (float) juce::jlimit (0, 1, (int) juce::jlimit (-2.0f, 2.0f, value));
        parameter->setValue (choice);
        parameter->sendValueChangedMessageToListeners (choice);
        return;
    }

    const auto& range = parameter->getNormalisableRange();

    if (! (value >= range.start && value <= range.end))
    {
        callUpdateLabel (type, stage);
        return;
    }

    const auto normalised = (value - range.start) / (range.end - range.start);

    if (parameter->getValue() == normalised)
    {
        callUpdateLabel (type, stage);
        return;
    }

    setAsGesture (*parameter, normalised);
}

bool PluginProcessor::togglePalimpsesterStageMix (int stageIndex)
{
    auto* parameter = tree.parameter (ModelTree::ArgType_toString (ModelTree::SegMix, stageIndex));

    if (parameter == nullptr || stageIndex < 1 || stageIndex > 3)
        return false;

    auto& saved = savedStageMix[stageIndex - 1];
    const auto present = parameter->getValue();
    float next;

    if (present > 0)
    {
        saved = present;
        next = 0.0f;
    }
    else
    {
        next = saved.load();
    }

    if (parameter->getValue() != next)
        setAsGesture (*parameter, next);

    return present > 0;
}

void PluginProcessor::setAsGesture (juce::RangedAudioParameter& parameter, float normalised)
{
    parameter.beginChangeGesture();
    parameter.setValue (normalised);
    parameter.sendValueChangedMessageToListeners (normalised);
    parameter.endChangeGesture();
}

juce::uint32 PluginProcessor::labelBit (ModelTree::ArgType type, int stage)
{
    if (isPerStage (type))
        return 1u << ((stage - 1) * 3 + (int) type);

    return type == ModelTree::Tone ? 1u << 9 : 1u << 10;
}

void PluginProcessor::deliverPendingFeedback()
{
    const auto bits = pendingFeedback.exchange (0);

    if (bits == 0)
        return;

    if ((bits & presetDisplayBit) != 0 && display != nullptr)
        display->updatedPresetModified (presetModified.load());

    // Label messages left while no editor was open are dropped.
    if (labelUpdater.load() == nullptr)
        return;

    for (int stage = 1; stage <= 3; ++stage)
        for (auto type : { ModelTree::NSegs, ModelTree::SegSize, ModelTree::SegMix })
            if ((bits & labelBit (type, stage)) != 0)
                callUpdateLabel (type, stage);

    for (auto type : { ModelTree::Tone, ModelTree::Mode })
        if ((bits & labelBit (type, -1)) != 0)
            callUpdateLabel (type, -1);
}
