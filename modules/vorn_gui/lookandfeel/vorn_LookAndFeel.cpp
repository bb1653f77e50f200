namespace juce::vorn_gui
{

void LookAndFeel::ExtrasButtonPlaceholder::paintButton (Graphics& g, bool, bool)
{
    g.fillAll (Colours::black);
}

LookAndFeel::LookAndFeel (Colour primary, Colour secondary, Colour background, Colour counterBackground,
                          const Font& main, const Font& title, const Font& subtitle)
    : primaryColour (primary),
      secondaryColour (secondary),
      backgroundColour (background),
      counterBackgroundColour (counterBackground),
      mainFont (main),
      titleFont (title),
      subtitleFont (subtitle)
{
}

Colour LookAndFeel::dimmedWhenDisabled (Colour colour, const Component& component)
{
    for (auto* c = &component; c != nullptr; c = c->getParentComponent())
        if (! c->isEnabled())
            return colour.withMultipliedAlpha (0.6f);

    return colour;
}

//==============================================================================
void LookAndFeel::fillTextEditorBackground (Graphics& g, int, int, TextEditor&)
{
    g.fillAll (backgroundColour);
}

void LookAndFeel::drawTextEditorOutline (Graphics& g, int width, int height, TextEditor&)
{
    g.setColour (secondaryColour);
    g.drawRect (Rectangle<float> (0.0f, 0.0f, (float) width, (float) height), 1.0f);
}

//==============================================================================
void LookAndFeel::drawPopupMenuBackground (Graphics& g, int width, int height)
{
    g.fillAll (backgroundColour);
    g.setColour (counterBackgroundColour);
    g.drawRect (Rectangle<float> (0.0f, 0.0f, (float) width, (float) height), 2.0f);
}

void LookAndFeel::drawPopupMenuItem (Graphics& g, const Rectangle<int>& area, bool isSeparator, bool isActive,
                                     bool isHighlighted, bool, bool hasSubMenu, const String& text,
                                     const String&, const Drawable*, const Colour*)
{
    if (isSeparator)
    {
        g.setColour (counterBackgroundColour);
        g.fillRect (area);
        return;
    }

    // Inactive items are drawn like plain ones: never greyed, never lit.
    auto textColour = counterBackgroundColour;

    if (isActive && isHighlighted)
    {
        g.setColour (primaryColour);
        g.fillRect (area);
        textColour = backgroundColour;
    }

    g.setColour (textColour);
    const auto width = (float) area.getWidth(), height = (float) area.getHeight();
    const auto x = (float) area.getX(), y = (float) area.getY();

    if (hasSubMenu)
    {
        const auto side = height * 6.0f / 11.0f;
        const auto tipX = x + width - 8.0f;
        Path arrow;
        arrow.addTriangle (tipX, y + height / 2,
                           tipX - side * _sqrt_3_ovr_2, y + height / 2 - side / 2,
                           tipX - side * _sqrt_3_ovr_2, y + height / 2 + side / 2);
        g.fillPath (arrow);
    }

    g.setFont (mainFont);
    g.drawFittedText (text,
                      area.getX() + 4, area.getY() + 4, jmax (0, area.getWidth() - 8), jmax (0, area.getHeight() - 8),
                      Justification::centredLeft, 1, 1.0f);
}

void LookAndFeel::drawPopupMenuSectionHeader (Graphics& g, const Rectangle<int>& area, const String& sectionName)
{
    g.setColour (counterBackgroundColour);
    g.setFont (mainFont);
    g.drawFittedText (sectionName, area, Justification::centred, 1);
}

Font LookAndFeel::getPopupMenuFont()
{
    // Items are sized for the font they are drawn in.
    return mainFont;
}

//==============================================================================
void LookAndFeel::drawComboBox (Graphics& g, int width, int height, bool, int, int, int, int, ComboBox& box)
{
    g.fillAll (backgroundColour);
    g.setColour (secondaryColour);
    g.drawRect (box.getLocalBounds().toFloat(), 2.0f);

    const auto side = (float) height * 6.0f / 11.0f;
    const auto triangleHeight = side * _sqrt_3_ovr_2;
    const auto right = (float) width - 8.0f;
    Path arrow;
    arrow.addTriangle (right - side, ((float) height - triangleHeight) / 2,
                       right, ((float) height - triangleHeight) / 2,
                       right - side / 2, ((float) height + triangleHeight) / 2);
    g.fillPath (arrow);
}

Font LookAndFeel::getComboBoxFont (ComboBox&)
{
    return mainFont;
}

//==============================================================================
void LookAndFeel::drawLinearSlider (Graphics& g, int x, int y, int width, int height, float sliderPos, float, float,
                                    Slider::SliderStyle style, Slider& slider)
{
    const auto thumb = dimmedWhenDisabled (primaryColour, slider);
    g.setColour (thumb);
    g.drawRect (Rectangle<float> ((float) x, (float) y, (float) width, (float) height), 2.0f);

    const auto track = dimmedWhenDisabled (secondaryColour, slider);

    if (style == Slider::LinearHorizontal)
        drawHorizontalSliderBody (g, sliderPos, (float) slider.getWidth(), (float) height, thumb, track);
    else if (style == Slider::LinearVertical)
        drawVerticalSliderBody (g, sliderPos, (float) width, (float) slider.getHeight(), thumb, track);
}

// The thumb's right edge sits at the slider position, and the track runs
// from the component's left edge to the thumb; a thumb near the left end is
// cut off by the edge.
void LookAndFeel::drawHorizontalSliderBody (Graphics& g, float sliderPos, float, float height, Colour thumb, Colour track)
{
    const auto thumbWidth = height / 1.618034f;
    g.setColour (thumb);
    g.fillRect (Rectangle<float> (sliderPos - thumbWidth, 0.0f, thumbWidth, height));

    if (sliderPos - thumbWidth > 0.0f)
    {
        g.setColour (track);
        g.fillRect (Rectangle<float> (0.0f, 0.0f, sliderPos - thumbWidth, height));
    }
}

// The mirror of the horizontal body: the thumb's top edge sits at the
// slider position, and the track runs from the thumb to the bottom edge.
void LookAndFeel::drawVerticalSliderBody (Graphics& g, float sliderPos, float width, float componentHeight, Colour thumb, Colour track)
{
    const auto thumbHeight = width / 1.618034f;
    g.setColour (thumb);
    g.fillRect (Rectangle<float> (0.0f, sliderPos, width, thumbHeight));

    if (componentHeight - (sliderPos + thumbHeight) > 0.0f)
    {
        g.setColour (track);
        g.fillRect (Rectangle<float> (0.0f, sliderPos + thumbHeight, width, componentHeight - (sliderPos + thumbHeight)));
    }
}

void LookAndFeel::drawRotarySlider (Graphics& g, int x, int y, int width, int height, float sliderPos,
                                    float rotaryStartAngle, float rotaryEndAngle, Slider& slider)
{
    // The knob sits in the top-left square of the area.
    const auto radius = (float) jmin (width, height) * 0.5f;
    const auto centre = Point<float> ((float) x + radius, (float) y + radius);
    const auto diameter = jmax (0.0f, 2.0f * radius - 12.0f);
    const Rectangle<float> disc ((float) x + 6.0f, (float) y + 6.0f, diameter, diameter);

    g.setColour (dimmedWhenDisabled (primaryColour, slider));
    g.fillEllipse (disc);
    g.setColour (dimmedWhenDisabled (secondaryColour, slider));
    g.drawEllipse (disc, 3.0f);

    // The pointer's tip reaches the full radius, beyond the disc.
    Path pointer;
    pointer.addTriangle (0.0f, -radius, -radius / 3.1f, -radius / 5.2f, radius / 3.1f, -radius / 5.2f);
    const auto angle = rotaryStartAngle + sliderPos * (rotaryEndAngle - rotaryStartAngle);
    pointer.applyTransform (AffineTransform::rotation (angle).translated (centre));
    g.setColour (backgroundColour);
    g.fillPath (pointer);
}

//==============================================================================
int LookAndFeel::getTabButtonSpaceAroundImage() { return 0; }
int LookAndFeel::getTabButtonOverlap (int) { return 0; }

int LookAndFeel::getTabButtonBestWidth (TabBarButton& button, int)
{
    return 12 + jmax (28, mainFont.getStringWidth (button.getButtonText().trim()));
}

Rectangle<int> LookAndFeel::getTabButtonExtraComponentBounds (const TabBarButton&, Rectangle<int>&, Component&)
{
    return {};
}

void LookAndFeel::createTabButtonShape (TabBarButton& button, Path& path, bool, bool)
{
    path.clear();
    const auto area = button.getActiveArea().toFloat();
    const auto x = area.getX(), y = area.getY(), w = area.getWidth(), h = area.getHeight();
    const auto index = button.getIndex();
    const auto count = button.getTabbedButtonBar().getNumTabs();

    // Only the outer top corner of the first and of the last tab is rounded.
    if (index == 0)
    {
        Path open;
        open.startNewSubPath (x, y + h);
        open.lineTo (x, y);
        open.lineTo (x + w, y);
        path = open.createPathWithRoundedCorners (8.0f);
        path.lineTo (x + w, y + h);
        path.closeSubPath();
    }
    else if (index == count - 1)
    {
        Path open;
        open.startNewSubPath (x, y);
        open.lineTo (x + w, y);
        open.lineTo (x + w, y + h);
        path = open.createPathWithRoundedCorners (8.0f);
        path.lineTo (x, y + h);
        path.closeSubPath();
    }
    else
    {
        path.addRectangle (area);
    }
}

void LookAndFeel::drawTabButton (TabBarButton& button, Graphics& g, bool isMouseOver, bool isMouseDown)
{
    Path shape;
    createTabButtonShape (button, shape, isMouseOver, isMouseDown);
    auto textColour = counterBackgroundColour;

    if (button.isFrontTab())
    {
        g.setColour (primaryColour);
        g.fillPath (shape);
        textColour = backgroundColour;
    }
    else
    {
        g.setColour (isMouseOver || isMouseDown ? primaryColour : secondaryColour);
        g.strokePath (shape, PathStrokeType (3.0f, PathStrokeType::mitered, PathStrokeType::butt));
    }

    g.setColour (textColour);
    g.setFont (mainFont);
    g.drawText (button.getButtonText(), button.getTextArea(), Justification::centred, true);
}

Font LookAndFeel::getTabButtonFont (TabBarButton&, float) { return {}; }
void LookAndFeel::drawTabButtonText (TabBarButton&, Graphics&, bool, bool) {}
void LookAndFeel::drawTabbedButtonBarBackground (TabbedButtonBar&, Graphics&) {}
void LookAndFeel::drawTabAreaBehindFrontButton (TabbedButtonBar&, Graphics&, int, int) {}
void LookAndFeel::fillTabButtonShape (TabBarButton&, Graphics&, const Path&, bool, bool) {}

Button* LookAndFeel::createTabBarExtrasButton()
{
    return new ExtrasButtonPlaceholder();
}

} // namespace juce::vorn_gui
