#include "PlainNumber.h"

#include <cstdlib>
#include <limits>

double parsePlainNumber (const juce::String& text)
{
    const auto utf8 = text.trim().toStdString();
    char* end = nullptr;
    const auto number = std::strtod (utf8.c_str(), &end);

    if (utf8.empty() || end != utf8.c_str() + utf8.size())
        return std::numeric_limits<double>::quiet_NaN();

    return number;
}
