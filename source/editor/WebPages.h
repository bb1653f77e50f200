#pragma once

#include <juce_core/juce_core.h>

/** The maker's pages that the plug-in shows or opens, all on the one web
    site that the build defines (PALIMPSESTER_WEBSITE). */
namespace web_pages
{
juce::URL makerHome();
juce::URL product();
juce::URL userGuide();
juce::URL support();
juce::URL presetDownloads();
} // namespace web_pages
