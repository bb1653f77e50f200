namespace juce::vorn_gui
{

BasicLabel::BasicLabel (LookAndFeel& lf)
{
    setFont (lf.mainFont);
    setColour (Label::textColourId, lf.counterBackgroundColour);
    setJustificationType (Justification::centredLeft);
    setBorderSize (BorderSize<int> (6));
}

BasicLabel::BasicLabel (LookAndFeel& lf, const String& text)
    : BasicLabel (lf)
{
    setText (text, dontSendNotification);
}

//==============================================================================
BasicTextEditor::BasicTextEditor (LookAndFeel& lf)
{
    setFont (lf.mainFont);
    setColour (TextEditor::textColourId, lf.counterBackgroundColour);
    setColour (TextEditor::outlineColourId, lf.secondaryColour);
    setJustification (Justification::centredLeft);
}

//==============================================================================
BoxToggleButton::BoxToggleButton (LookAndFeel& lf)
    : lookAndFeel (lf)
{
}

void BoxToggleButton::paintButton (Graphics& g, bool isHighlighted, bool)
{
    const auto on = getToggleState();
    g.fillAll (on ? lookAndFeel.primaryColour : lookAndFeel.backgroundColour);

    if (! on)
    {
        g.setColour (isHighlighted ? lookAndFeel.primaryColour : lookAndFeel.secondaryColour);
        g.drawRect (getLocalBounds().toFloat(), 2.0f);
    }
}

//==============================================================================
MouseoverTextButton::MouseoverTextButton (LookAndFeel& lf, const String& textToShow, bool clickingTogglesState, Button::Listener* listener)
    : Button ("MouseoverTextButton"), lookAndFeel (lf), text (textToShow)
{
    setClickingTogglesState (clickingTogglesState);

    if (listener != nullptr)
        addListener (listener);
}

void MouseoverTextButton::paintButton (Graphics& g, bool isHighlighted, bool isDown)
{
    const auto active = isHighlighted || isDown || getToggleState();
    const auto ink = active ? lookAndFeel.backgroundColour : lookAndFeel.secondaryColour;

    g.fillAll (active ? lookAndFeel.primaryColour : lookAndFeel.backgroundColour);
    g.setFont (lookAndFeel.mainFont);
    g.setColour (ink);
    g.drawFittedText (text, getLocalBounds(), Justification::centred, 1);
    g.drawRect (getLocalBounds().toFloat(), 2.0f);
}

//==============================================================================
IconButton::IconButton (const char* svgData, int svgSize, Colour colour, String name, Button::Listener* listener,
                        DrawableButton::ButtonStyle buttonStyle)
    : DrawableButton (name, buttonStyle)
{
    const auto artwork = Drawable::createFromImageData (svgData, (size_t) jmax (0, svgSize));

    if (artwork != nullptr)
    {
        auto imageIn = [&] (Colour replacement)
        {
            auto image = artwork->createCopy();
            image->replaceColour (placeholderColour, replacement);
            return image;
        };

        const auto normal = imageIn (colour);
        const auto over = imageIn (colour.darker (0.4f));
        const auto down = imageIn (colour.darker (1.3f));
        const auto disabled = imageIn (colour.withMultipliedAlpha (0.6f));
        setImages (normal.get(), over.get(), down.get(), disabled.get());
    }

    if (listener != nullptr)
        addListener (listener);
}

//==============================================================================
TriangleButton::TriangleButton (Orientation orientation, LookAndFeel& lf, String name, Button::Listener* listener)
    : ShapeButton (name, lf.secondaryColour, lf.secondaryColour.darker (0.4f),
                   lf.secondaryColour.darker (1.3f))
{
    setShape (shapeFor (orientation), false, true, false);

    if (listener != nullptr)
        addListener (listener);
}

Path TriangleButton::shapeFor (Orientation orientation)
{
    constexpr auto k = _sqrt_3_ovr_2;
    Path shape;

    switch (orientation)
    {
        case up:    shape.addTriangle (0.5f, 0.0f, 1.0f, k, 0.0f, k); break;
        case down:  shape.addTriangle (0.5f, 1.0f, 0.0f, 1.0f - k, 1.0f, 1.0f - k); break;
        case left:  shape.addTriangle (0.0f, 0.5f, k, 0.0f, k, 1.0f); break;
        case right: shape.addTriangle (1.0f, 0.5f, 1.0f - k, 1.0f, 1.0f - k, 0.0f); break;
        default:    break;
    }

    return shape;
}

//==============================================================================
IndicatorLight::IndicatorLight (const String& name, Colour off, Array<Colour> colourList)
    : Button (name), offColour (off), colours (std::move (colourList))
{
}

IndicatorLight::~IndicatorLight()
{
    stopTimer();
}

void IndicatorLight::paintButton (Graphics& g, bool, bool)
{
    const auto state = currentState.load();
    const auto bounds = getLocalBounds().toFloat();

    if (state < 0)
    {
        g.setColour (offColour);
        g.drawEllipse (bounds, 2.0f);
        return;
    }

    g.setColour (isPositiveAndBelow (state, colours.size()) ? colours[state] : Colours::transparentBlack);
    g.fillEllipse (bounds);
}

void IndicatorLight::timerCallback()
{
    currentState = pendingState.load();
    repaint();
    stopTimer();
}

} // namespace juce::vorn_gui
