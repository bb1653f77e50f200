#pragma once

#include <juce_core/juce_core.h>

/** The factory presets' source table: one row per preset with its category
    ("Top//Sub", or a top category alone), its name and its eleven parameter
    values. Tab-separated, with a header row naming the parameter IDs; lines
    starting with "#" are comments. */
struct FactoryPresetRow
{
    juce::String category;
    juce::String name;
    juce::StringPairArray values; // parameter ID -> plain value

    /** The embedded resource's name: spaces as "_", then "_pl11". */
    juce::String resourceName() const;

    /** The generated file's name: spaces as "_", then ".pl11". */
    juce::String fileName() const;
};

/** Parses the table; rows that do not carry all columns are skipped and
    named in `problems`. */
std::vector<FactoryPresetRow> parseFactoryPresetTable (const juce::String& text, juce::StringArray& problems);
