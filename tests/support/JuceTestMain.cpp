// GoogleTest entry point that keeps the framework's message machinery alive
// for the whole run (parameter trees, timers and hosted plug-ins need it),
// and points the plug-in's data folder at a temporary folder, so that no
// test touches the user's own folders.
#include <gtest/gtest.h>
#include <juce_events/juce_events.h>

#include <cstdlib>

int main (int argc, char** argv)
{
    const juce::ScopedJuceInitialiser_GUI juce;

    const auto dataRoot = juce::File::getSpecialLocation (juce::File::tempDirectory)
                              .getNonexistentChildFile ("palimpsester-tests", {});
    dataRoot.createDirectory();
    setenv ("PALIMPSESTER_DATA_ROOT", dataRoot.getFullPathName().toRawUTF8(), 1);

    testing::InitGoogleTest (&argc, argv);
    const auto result = RUN_ALL_TESTS();

    dataRoot.deleteRecursively();
    return result;
}
