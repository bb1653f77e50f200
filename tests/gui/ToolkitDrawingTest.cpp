// What the look and feel and the basic widgets draw, read back from
// images: colours and geometry where the look fixes them.
#include <editor/Style.h>
#include <gtest/gtest.h>

#include <set>

namespace
{
using namespace juce::vorn_gui;

struct Canvas
{
    Canvas (int w, int h) : image (juce::Image::ARGB, w, h, true), g (image) {}
    juce::uint32 at (int x, int y) const { return image.getPixelAt (x, y).getARGB(); }
    juce::Image image;
    juce::Graphics g;
};

/** Every fully opaque colour in the image. */
std::set<juce::uint32> opaqueColours (const juce::Image& image)
{
    std::set<juce::uint32> colours;
    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
            if (image.getPixelAt (x, y).getAlpha() == 255)
                colours.insert (image.getPixelAt (x, y).getARGB());
    return colours;
}

class Drawing : public testing::Test
{
protected:
    PalimpsesterLookAndFeel lookAndFeel;
    const juce::uint32 violet = 0xFF8710DC, green = 0xFF9ACD32, grey = 0xFF737373;
};

TEST_F (Drawing, ThePaletteAndTheFontsAreThePlugInsOwn)
{
    EXPECT_EQ (lookAndFeel.primaryColour.getARGB(), violet);
    EXPECT_EQ (lookAndFeel.secondaryColour.getARGB(), green);
    EXPECT_EQ (lookAndFeel.backgroundColour.getARGB(), grey);
    EXPECT_EQ (lookAndFeel.counterBackgroundColour.getARGB(), 0xFFF5F5F5u);
    EXPECT_EQ (lookAndFeel.mainFont.getTypefaceName(), "Source Code Pro");
    EXPECT_EQ (lookAndFeel.titleFont.getTypefaceName(), "Courier Prime");
    EXPECT_FLOAT_EQ (lookAndFeel.mainFont.getHeight(), 19.0f);
    EXPECT_FLOAT_EQ (lookAndFeel.titleFont.getHeight(), 34.0f);
    EXPECT_FLOAT_EQ (lookAndFeel.subtitleFont.getHeight(), 28.0f);
    EXPECT_EQ (lookAndFeel.getPopupMenuFont(), lookAndFeel.mainFont);
}

TEST_F (Drawing, ADisabledKnobIsDimmedButItsPointerIsNot)
{
    for (bool enabled : { true, false })
    {
        juce::Slider slider (juce::Slider::RotaryHorizontalVerticalDrag, juce::Slider::NoTextBox);
        slider.setEnabled (enabled);
        Canvas canvas (100, 60);
        // A wide area: the knob sits flush left, in the 60 x 60 square.
        lookAndFeel.drawRotarySlider (canvas.g, 0, 0, 100, 60, 0.0f, 0.0f, 1.0f, slider);

        const auto disc = canvas.image.getPixelAt (30, 45); // below the centre, clear of the pointer
        EXPECT_EQ (disc.getAlpha(), enabled ? 255 : 153);
        // Stored premultiplied: a channel may come back one or two off.
        const juce::Colour expected (violet);
        EXPECT_NEAR (disc.getRed(), expected.getRed(), 2);
        EXPECT_NEAR (disc.getGreen(), expected.getGreen(), 2);
        EXPECT_NEAR (disc.getBlue(), expected.getBlue(), 2);

        const auto pointer = canvas.image.getPixelAt (30, 8); // the pointer, at angle 0, points up
        EXPECT_EQ (pointer.getARGB(), grey) << "enabled " << enabled;

        EXPECT_EQ (canvas.at (80, 30), 0u); // nothing right of the knob's square
    }
}

TEST_F (Drawing, ASliderBelowItsThumbWidthShowsTheThumbCutAndNoTrack)
{
    juce::Slider slider (juce::Slider::LinearHorizontal, juce::Slider::NoTextBox);
    slider.setSize (200, 16);
    Canvas canvas (200, 16);
    // Thumb width 16 / 1.618 = 9.9: at position 5 the thumb starts left of 0.
    lookAndFeel.drawLinearSlider (canvas.g, 0, 0, 200, 16, 5.0f, 0.0f, 200.0f, juce::Slider::LinearHorizontal, slider);

    EXPECT_EQ (canvas.at (3, 8), violet);
    EXPECT_EQ (canvas.at (50, 8), 0u);
    EXPECT_EQ (opaqueColours (canvas.image).count (green), 0u);

    Canvas further (200, 16);
    lookAndFeel.drawLinearSlider (further.g, 0, 0, 200, 16, 100.0f, 0.0f, 200.0f, juce::Slider::LinearHorizontal, slider);
    EXPECT_EQ (further.at (50, 8), green);  // the track up to the thumb
    EXPECT_EQ (further.at (95, 8), violet); // the thumb ends at the position
    EXPECT_EQ (further.at (120, 8), 0u);
}

TEST_F (Drawing, AVerticalSliderIsTheMirrorOfTheHorizontalOne)
{
    juce::Slider slider (juce::Slider::LinearVertical, juce::Slider::NoTextBox);
    slider.setSize (16, 200);
    Canvas canvas (16, 200);
    lookAndFeel.drawLinearSlider (canvas.g, 0, 0, 16, 200, 100.0f, 0.0f, 200.0f, juce::Slider::LinearVertical, slider);

    EXPECT_EQ (canvas.at (8, 104), violet); // the thumb hangs from the position
    EXPECT_EQ (canvas.at (8, 150), green);  // the track runs down to the bottom
    EXPECT_EQ (canvas.at (8, 50), 0u);
}

TEST_F (Drawing, AHighlightedInactiveMenuItemIsDrawnPlain)
{
    Canvas plain (200, 30), highlighted (200, 30), inactive (200, 30);
    const juce::Rectangle<int> area (0, 0, 200, 30);
    lookAndFeel.drawPopupMenuItem (plain.g, area, false, true, false, false, false, "Item", {}, nullptr, nullptr);
    lookAndFeel.drawPopupMenuItem (highlighted.g, area, false, true, true, false, false, "Item", {}, nullptr, nullptr);
    lookAndFeel.drawPopupMenuItem (inactive.g, area, false, false, true, false, false, "Item", {}, nullptr, nullptr);

    EXPECT_EQ (highlighted.at (190, 2), violet);
    EXPECT_EQ (plain.at (190, 2), 0u);
    EXPECT_EQ (inactive.at (190, 2), 0u);
}

TEST_F (Drawing, IconButtonsAreRecolouredForEachState)
{
    int size = 0;
    const char svg[] = R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 24 24"><path d="M2,2H22V22H2Z"/></svg>)";
    size = (int) sizeof (svg) - 1;
    IconButton button (svg, size, juce::Colour (green), "Icon", nullptr);

    auto colourOf = [] (const juce::Drawable* image)
    {
        Canvas canvas (24, 24);
        image->drawWithin (canvas.g, { 0.0f, 0.0f, 24.0f, 24.0f }, juce::RectanglePlacement::stretchToFit, 1.0f);
        return canvas.image.getPixelAt (12, 12).getARGB();
    };

    EXPECT_EQ (colourOf (button.getNormalImage()), green);
    EXPECT_EQ (colourOf (button.getOverImage()), 0xFF6E9223u);
    EXPECT_EQ (colourOf (button.getDownImage()), 0xFF425915u);
    // The disabled image has no getter: the button is drawn disabled.
    button.setSize (24, 24);
    button.setEnabled (false);
    const auto disabled = button.createComponentSnapshot (button.getLocalBounds());
    EXPECT_EQ (disabled.getPixelAt (12, 12).getAlpha(), 153);
}

TEST_F (Drawing, ButtonsAndLightsInTheirStates)
{
    BoxToggleButton toggle (lookAndFeel);
    toggle.setSize (20, 20);
    toggle.setToggleState (true, juce::dontSendNotification);
    Canvas on (20, 20);
    toggle.paintButton (on.g, true, false);
    EXPECT_EQ (opaqueColours (on.image), std::set<juce::uint32> { violet }); // no outline, hovered or not

    MouseoverTextButton textButton (lookAndFeel, "x", true, nullptr);
    textButton.setSize (40, 20);
    textButton.setToggleState (true, juce::dontSendNotification);
    Canvas toggled (40, 20);
    textButton.paintButton (toggled.g, false, false);
    EXPECT_EQ (toggled.at (4, 10), violet); // stays lit without the mouse

    IndicatorLight light ("IndicatorLight", juce::Colours::white, { juce::Colour (violet), juce::Colour (green) });
    light.setSize (16, 16);
    light.currentState = 5;
    Canvas beyond (16, 16);
    light.paintButton (beyond.g, false, false);
    EXPECT_TRUE (opaqueColours (beyond.image).empty());
}

TEST_F (Drawing, TabsAndTheirWidths)
{
    juce::TabbedButtonBar bar (juce::TabbedButtonBar::TabsAtTop);
    bar.addTab ("x", juce::Colours::transparentBlack, -1); // the bar takes no tab without a name
    ASSERT_NE (bar.getTabButton (0), nullptr);
    bar.getTabButton (0)->setButtonText ({});
    EXPECT_EQ (lookAndFeel.getTabButtonBestWidth (*bar.getTabButton (0), 30), 40);

    // A single tab rounds only its top-left corner.
    juce::Path shape;
    bar.setBounds (0, 0, 100, 30);
    bar.getTabButton (0)->setBounds (0, 0, 100, 30);
    lookAndFeel.createTabButtonShape (*bar.getTabButton (0), shape, false, false);
    EXPECT_FALSE (shape.contains (0.5f, 0.5f));
    EXPECT_TRUE (shape.contains (99.5f, 0.5f));
    EXPECT_TRUE (shape.contains (0.5f, 29.5f));
}
} // namespace
