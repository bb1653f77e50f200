#include "ModelTree.h"

const juce::Identifier treeIdentifier ("Pl11");

const std::vector<std::string> ModelTree::modeChoices { "Series", "Parallel" };

namespace
{
const juce::String kindName (ModelTree::ArgType type)
{
    switch (type)
    {
        case ModelTree::NSegs:   return "N Segs";
        case ModelTree::SegSize: return "Seg Size";
        case ModelTree::SegMix:  return "Seg Mix";
        case ModelTree::Tone:
        case ModelTree::Mode:
        case ModelTree::Invalid:
        default:                 return {};
    }
}

juce::StringArray buildCanonicalIds()
{
    juce::StringArray ids { "Mode", "Tone" };

    for (int stage = 1; stage <= 3; ++stage)
        for (auto type : { ModelTree::NSegs, ModelTree::SegSize, ModelTree::SegMix })
            ids.add (ModelTree::ArgType_toString (type, stage));

    return ids;
}

juce::AudioProcessorValueTreeState::ParameterLayout createLayout (bool lv2SafeIds)
{
    auto idFor = [lv2SafeIds] (const juce::String& canonical)
    {
        return juce::ParameterID (lv2SafeIds ? ModelTree::lv2SafeId (canonical) : canonical, 0);
    };

    juce::AudioProcessorValueTreeState::ParameterLayout layout;

    juce::StringArray choices;
    for (const auto& choice : ModelTree::modeChoices)
        choices.add (choice);

    layout.add (std::make_unique<juce::AudioParameterChoice> (idFor ("Mode"), "Mode", choices, choices.indexOf ("Series")));
    layout.add (std::make_unique<juce::AudioParameterFloat> (idFor ("Tone"), "Tone",
                                                             juce::NormalisableRange<float> (0.0f, 100.0f, 0.01f), 75.0f));

    for (int stage = 1; stage <= 3; ++stage)
    {
        const auto nSegs = ModelTree::ArgType_toString (ModelTree::NSegs, stage);
        const auto segSize = ModelTree::ArgType_toString (ModelTree::SegSize, stage);
        const auto segMix = ModelTree::ArgType_toString (ModelTree::SegMix, stage);

        layout.add (std::make_unique<juce::AudioParameterInt> (idFor (nSegs), nSegs, 2, 91, 31));
        layout.add (std::make_unique<juce::AudioParameterFloat> (idFor (segSize), segSize,
                                                                 juce::NormalisableRange<float> (1.0f, 48.0f, 0.01f), 11.0f));
        layout.add (std::make_unique<juce::AudioParameterFloat> (idFor (segMix), segMix,
                                                                 juce::NormalisableRange<float> (0.0f, 120.0f, 0.01f),
                                                                 stage == 1 ? 100.0f : 0.0f));
    }

    return layout;
}
} // namespace

ModelTree::ModelTree (juce::AudioProcessor& owner)
    : ModelTree (owner, owner.wrapperType == juce::AudioProcessor::wrapperType_LV2)
{
}

ModelTree::ModelTree (juce::AudioProcessor& owner, bool useLv2SafeIds)
    : juce::AudioProcessorValueTreeState (owner, &undoManager, treeIdentifier, createLayout (useLv2SafeIds)),
      lv2SafeIds (useLv2SafeIds)
{
}

ModelTree::~ModelTree() = default;

juce::String ModelTree::ArgType_toString (ArgType type, int stageIndex)
{
    return juce::String (stageIndex) + "- " + kindName (type);
}

void ModelTree::ArgType_index_fromString (const juce::String& parameterID, ArgType& type, int& stageIndex)
{
    for (auto kind : { NSegs, SegSize, SegMix })
    {
        if (parameterID.endsWith (kindName (kind)))
        {
            type = kind;
            stageIndex = parameterID.upToFirstOccurrenceOf ("-", true, false).getIntValue();
            return;
        }
    }

    stageIndex = -1;

    if (parameterID.equalsIgnoreCase ("Mode"))
        type = Mode;
    else if (parameterID.equalsIgnoreCase ("Tone"))
        type = Tone;
    else
        type = Invalid;
}

const juce::StringArray& ModelTree::canonicalIds()
{
    static const juce::StringArray ids = buildCanonicalIds();
    return ids;
}

juce::String ModelTree::lv2SafeId (const juce::String& canonical)
{
    ArgType type;
    int stage;
    ArgType_index_fromString (canonical, type, stage);

    if (type == Tone || type == Mode || type == Invalid)
        return canonical;

    // Letters, digits and "_" only, and in host order when sorted, as hosts
    // built on the framework list LV2 parameters by URI.
    static const char* const lv2KindNames[] = { "count", "length", "mix" };
    return "stage" + juce::String (stage) + "_" + lv2KindNames[type];
}

juce::String ModelTree::liveId (const juce::String& canonical) const
{
    return lv2SafeIds && canonicalIds().contains (canonical) ? lv2SafeId (canonical) : canonical;
}

juce::String ModelTree::canonicalId (const juce::String& live) const
{
    if (lv2SafeIds)
        for (const auto& canonical : canonicalIds())
            if (lv2SafeId (canonical) == live)
                return canonical;

    return live;
}

juce::RangedAudioParameter* ModelTree::parameter (const juce::String& canonical) const
{
    return getParameter (liveId (canonical));
}

juce::ValueTree ModelTree::withCanonicalIds (juce::ValueTree document) const
{
    return withIdsMapped (std::move (document), true);
}

juce::ValueTree ModelTree::withLiveIds (juce::ValueTree document) const
{
    return withIdsMapped (std::move (document), false);
}

juce::ValueTree ModelTree::withIdsMapped (juce::ValueTree document, bool toCanonical) const
{
    if (! lv2SafeIds || ! document.isValid())
        return document;

    static const juce::Identifier paramType ("PARAM"), idProperty ("id");

    for (auto child : document)
    {
        if (! child.hasType (paramType))
            continue;

        const auto id = child.getProperty (idProperty).toString();
        child.setProperty (idProperty, toCanonical ? canonicalId (id) : liveId (id), nullptr);
    }

    return document;
}
