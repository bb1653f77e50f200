#pragma once

#include <juce_core/juce_core.h>

/** The whole text, spaces around it aside, as a number; NaN when it is not
    one. Reads with the C library, which handles any length of digits and
    exponent (the framework's conversion overflows a counter on very long
    exponents). */
double parsePlainNumber (const juce::String& text);
