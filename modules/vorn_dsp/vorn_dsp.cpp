#include "vorn_dsp.h"

namespace juce::vorn_dsp
{
const std::string prefixValueSeparator = ": ";
} // namespace juce::vorn_dsp
