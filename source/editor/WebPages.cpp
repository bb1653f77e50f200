#include "WebPages.h"

namespace web_pages
{
namespace
{
juce::URL page (const char* path)
{
    return juce::URL (juce::String (PALIMPSESTER_WEBSITE) + path);
}
} // namespace

juce::URL makerHome()       { return page ("/"); }
juce::URL product()         { return page ("/palimpsester"); }
juce::URL userGuide()       { return page ("/palimpsester/guide"); }
juce::URL support()         { return page ("/support"); }
juce::URL presetDownloads() { return page ("/palimpsester/presets"); }
} // namespace web_pages
