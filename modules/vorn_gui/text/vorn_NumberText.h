#pragma once

namespace juce::vorn_gui
{

/** The decimal number at the start of `text`, leading spaces skipped and
    whatever follows it (a unit) ignored; nothing when the text does not
    start with one. Reads the same in every locale, and only plain decimal
    numbers: no hexadecimal, infinity or NaN. */
std::optional<double> leadingNumber (const String& text);

/** The whole text, spaces around it aside, as a decimal number; nothing
    when anything else stands in it. */
std::optional<double> wholeNumber (const String& text);

} // namespace juce::vorn_gui
