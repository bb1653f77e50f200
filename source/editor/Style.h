#pragma once

#include <vorn_gui/vorn_gui.h>

/** The plug-in's palette: violet accents, yellow-green outlines, a mid-grey
    background and near-white text. */
extern const juce::Colour primaryColour;
extern const juce::Colour secondaryColour;
extern const juce::Colour backgroundColour;
extern const juce::Colour counterBackgroundColour;

/** The three fonts, built from the embedded typefaces: the main font of all
    running text and the two title fonts. */
struct StyleFonts
{
    juce::Font mainFont, titleFont, subtitleFont;
};

/** Message thread. The fonts are built the first time they are asked for,
    once per process, so that loading the plug-in (a host's scan, a session
    without the editor open) reads no font at all. A typeface whose resource
    is missing falls back to the default monospaced font. */
const StyleFonts& styleFonts();

/** The toolkit's look and feel in the plug-in's palette and fonts. */
class PalimpsesterLookAndFeel : public juce::vorn_gui::LookAndFeel
{
public:
    PalimpsesterLookAndFeel();
};
