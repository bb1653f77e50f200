// GoogleTest entry point that keeps the framework's message machinery alive
// for the whole run: parameter trees, timers and hosted plug-ins need it.
#include <gtest/gtest.h>
#include <juce_events/juce_events.h>

int main (int argc, char** argv)
{
    const juce::ScopedJuceInitialiser_GUI juce;
    testing::InitGoogleTest (&argc, argv);
    return RUN_ALL_TESTS();
}
