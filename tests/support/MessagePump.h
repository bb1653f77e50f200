#pragma once

// Runs the framework's message loop for a while from a test, without the
// modal-loop functions that the plug-in's build leaves out.
#include <juce_events/juce_events.h>

namespace juce
{
// The framework's own step of its message loop (defined for every platform
// by juce_events).
bool dispatchNextMessageOnSystemQueue (bool returnIfNoPendingMessages);
} // namespace juce

inline void pumpMessages (int milliseconds)
{
    const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) milliseconds;

    while (juce::Time::getMillisecondCounter() < end)
        if (! juce::dispatchNextMessageOnSystemQueue (true))
            juce::Thread::sleep (2);
}
