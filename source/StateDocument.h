#pragma once

#include "ModelTree.h"

/** The state document: the parameter tree's state as single-line XML in the
    framework's binary block (magic 0x21324356, text length, text, zero
    byte), with the plug-in's identification attributes. Used for host
    storage and preset files alike, and by the tool that makes the factory
    presets. */
namespace state_document
{

/** The loaded-preset record that host storage adds. */
struct PresetRecord
{
    juce::String loadedPreset;
    bool modified = false;
};

/** Writes the tree's state into `destination`, replacing its content; adds
    the preset record when one is given. */
void write (ModelTree& tree, juce::MemoryBlock& destination, const PresetRecord* record);

/** Parses a block into a state for `tree`: the root compared without case,
    the IDs the tree's own, every parameter value made valid (numbers
    clamped to the range, anything else the default). Returns an invalid
    tree for anything that is not a state document of this plug-in. */
juce::ValueTree read (const ModelTree& tree, const void* data, int sizeInBytes);

/** The loaded-preset record a document carries, if any. */
PresetRecord recordOf (const juce::ValueTree& state);

} // namespace state_document
