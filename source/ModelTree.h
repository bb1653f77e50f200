#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

/** Type identifier of the parameter tree, and so the root element of the
    state document. */
extern const juce::Identifier treeIdentifier;

/** The eleven automatable parameters of the plug-in and their naming scheme.

    Parameter IDs are "Mode", "Tone" and, per stage, the stage number followed
    by "- N Segs", "- Seg Size" or "- Seg Mix". These canonical IDs are what
    hosts, state documents and preset files see.

    The LV2 wrapper turns every ID into a Turtle name by replacing each
    character that cannot stand there with "_", which makes the three stages'
    IDs collide. An instance created by the LV2 wrapper therefore registers
    LV2-safe IDs ("stage2_length") in the tree; `liveId` and `canonicalId`
    translate at the boundaries, and everything beyond the tree speaks in
    canonical IDs only.
*/
namespace detail
{
/** Lets the undo manager be built before the tree that records into it. */
struct UndoManagerHolder
{
    juce::UndoManager undoManager;
};
} // namespace detail

class ModelTree : private detail::UndoManagerHolder,
                  public juce::AudioProcessorValueTreeState
{
public:
    using detail::UndoManagerHolder::undoManager;

    enum ArgType
    {
        NSegs = 0,
        SegSize,
        SegMix,
        Tone,
        Mode,
        Invalid
    };

    static const std::vector<std::string> modeChoices;

    explicit ModelTree (juce::AudioProcessor& owner);
    ~ModelTree();

    /** Builds a per-stage ID: the stage number, "- ", then the kind name
        ("N Segs", "Seg Size", "Seg Mix"; empty for the global kinds). */
    static juce::String ArgType_toString (ArgType type, int stageIndex);

    /** Parses a canonical ID into its kind and 1-based stage (-1 for the
        global kinds). Names no parameter: `Invalid`, stage -1. */
    static void ArgType_index_fromString (const juce::String& parameterID, ArgType& type, int& stageIndex);

    /** The canonical IDs in host order. */
    static const juce::StringArray& canonicalIds();

    /** The ID the LV2 wrapper uses for a canonical ID. */
    static juce::String lv2SafeId (const juce::String& canonical);

    /** The ID this instance's tree uses for a canonical ID, and back. IDs that
        name no parameter are returned unchanged. */
    juce::String liveId (const juce::String& canonical) const;
    juce::String canonicalId (const juce::String& live) const;

    /** The parameter of a canonical ID, or nullptr. */
    juce::RangedAudioParameter* parameter (const juce::String& canonical) const;

    /** Rewrites the "id" of every "PARAM" child of a state tree. */
    juce::ValueTree withCanonicalIds (juce::ValueTree document) const;
    juce::ValueTree withLiveIds (juce::ValueTree document) const;

    bool usesLv2SafeIds() const noexcept { return lv2SafeIds; }

private:
    ModelTree (juce::AudioProcessor& owner, bool useLv2SafeIds);

    juce::ValueTree withIdsMapped (juce::ValueTree document, bool toCanonical) const;

    const bool lv2SafeIds;
};
