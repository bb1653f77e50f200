#pragma once

#include <juce_core/juce_core.h>

/** A fresh folder in the system's temporary folder, removed with its
    contents when the object goes. */
struct TemporaryFolder
{
    explicit TemporaryFolder (const juce::String& prefix)
        : folder (juce::File::getSpecialLocation (juce::File::tempDirectory).getNonexistentChildFile (prefix, {}))
    {
        folder.createDirectory();
    }

    ~TemporaryFolder() { folder.deleteRecursively(); }

    const juce::File folder;
};
