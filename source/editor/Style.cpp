#include "Style.h"
#include "../EmbeddedResources.h"

const juce::Colour primaryColour = juce::Colour::fromString ("#ff8710dc");
const juce::Colour secondaryColour = juce::Colour::fromString ("#ff9acd32");
const juce::Colour backgroundColour = juce::Colour::fromString ("#ff737373");
const juce::Colour counterBackgroundColour = juce::Colour::fromString ("#fff5f5f5");

namespace
{
juce::Font embeddedFont (const char* resourceName, float height)
{
    int size = 0;
    const auto* data = BinaryData::getNamedResource (resourceName, size);

    if (data != nullptr && size > 0)
        if (auto typeface = juce::Typeface::createSystemTypefaceFor (data, (size_t) size))
            return juce::Font (typeface).withHeight (height);

    return juce::Font (juce::Font::getDefaultMonospacedFontName(), height, juce::Font::bold);
}
} // namespace

const StyleFonts& styleFonts()
{
    JUCE_ASSERT_MESSAGE_THREAD

    // Kept for the life of the process: typefaces must not be released
    // after the framework has shut its font engine down.
    static const auto* fonts = []
    {
        const auto title = embeddedFont ("CourierPrimeBold_ttf", 34.0f);
        return new StyleFonts { embeddedFont ("SourceCodeProBold_ttf", 19.0f), title, title.withHeight (28.0f) };
    }();

    return *fonts;
}

// The constants are named like the look and feel's members, which would
// hide them here: they are named from the global namespace.
PalimpsesterLookAndFeel::PalimpsesterLookAndFeel()
    : juce::vorn_gui::LookAndFeel (::primaryColour, ::secondaryColour, ::backgroundColour, ::counterBackgroundColour,
                                   styleFonts().mainFont, styleFonts().titleFont, styleFonts().subtitleFont)
{
}
