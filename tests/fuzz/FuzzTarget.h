#pragma once

// What every fuzz target shares: the framework's message machinery, and a
// data folder of its own, so that fuzzing touches none of the user's files.
#include <PluginProcessor.h>

#include <cstdint>
#include <cstring>
#include <cstdio>
#include <cstdlib>

namespace fuzz
{
/** One processor for the whole run, built on first use. */
inline PluginProcessor& processor()
{
    static auto* juce = new juce::ScopedJuceInitialiser_GUI();
    static auto* instance = []
    {
        const auto dataRoot = juce::File::getSpecialLocation (juce::File::tempDirectory)
                                  .getNonexistentChildFile ("palimpsester-fuzz", {});
        dataRoot.createDirectory();
        setenv ("PALIMPSESTER_DATA_ROOT", dataRoot.getFullPathName().toRawUTF8(), 1);
        return new PluginProcessor();
    }();

    juce::ignoreUnused (juce);
    return *instance;
}

/** Whether two blocks hold the same bytes. The framework's comparison
    hands the null data of empty blocks to memcmp, which the undefined
    behaviour sanitizer reports. */
inline bool sameBytes (const juce::MemoryBlock& a, const juce::MemoryBlock& b)
{
    return a.getSize() == b.getSize() && (a.isEmpty() || std::memcmp (a.getData(), b.getData(), a.getSize()) == 0);
}

/** Stops the run with a crash report when a property does not hold. */
inline void require (bool holds, const char* property)
{
    if (! holds)
    {
        std::fprintf (stderr, "property broken: %s\n", property);
        std::abort();
    }
}
} // namespace fuzz
