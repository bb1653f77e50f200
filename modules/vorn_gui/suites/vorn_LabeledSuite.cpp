namespace juce::vorn_gui
{

const String LabeledSuite::prefixValueSeparator (": ");

Rectangle<int> LabeledSuite::rounded (Rectangle<float> area)
{
    // A negative size (a cell narrower than its control) counts as 0.
    return { roundToInt (area.getX()), roundToInt (area.getY()),
             jmax (0, roundToInt (area.getWidth())), jmax (0, roundToInt (area.getHeight())) };
}

//==============================================================================
ToggleButtonSuite::ToggleButtonSuite (LookAndFeel& lookAndFeel)
    : ControlWithLabel (lookAndFeel, true, lookAndFeel)
{
}

void ToggleButtonSuite::setAttachment (AudioProcessorValueTreeState& tree, String& id)
{
    attachment.reset();
    attachment = std::make_unique<AudioProcessorValueTreeState::ButtonAttachment> (tree, id, button);
}

void ToggleButtonSuite::setAttachment (AudioProcessorValueTreeState& tree, String& id, UserValueUpdater& valueUpdater, float step)
{
    setAttachment (tree, id);
    keepUpdater (id, valueUpdater, step);
}

void ToggleButtonSuite::incValue (int steps)
{
    // Any step flips the toggle; its size plays no part.
    if (! canStep (steps))
        return;

    updater->userUpdateValue (paramID, button.getToggleState() ? 0.0f : 1.0f);
}

void ToggleButtonSuite::addKeyListener (KeyListener* listener)
{
    button.addKeyListener (listener);
    label.addKeyListener (listener);
}

//==============================================================================
SliderSuite::SliderSuite (LookAndFeel& lookAndFeel, Slider::SliderStyle style)
    : ControlWithLabel (lookAndFeel, true, style, Slider::NoTextBox)
{
    slider.setLookAndFeel (&lookAndFeel);
}

SliderSuite::~SliderSuite()
{
    label.removeListener (this);
    attachment.reset();
    slider.setLookAndFeel (nullptr);
}

void SliderSuite::setAttachment (AudioProcessorValueTreeState& tree, String& id)
{
    attachment.reset();
    attachment = std::make_unique<AudioProcessorValueTreeState::SliderAttachment> (tree, id, slider);
}

void SliderSuite::setAttachment (AudioProcessorValueTreeState& tree, String& id, UserValueUpdater& valueUpdater, float step)
{
    setAttachment (tree, id);
    keepUpdater (id, valueUpdater, step);

    // One click starts typing a value; leaving the field discards it.
    label.setEditable (true, false, true);
    label.addListener (this);
}

void SliderSuite::incValue (int steps)
{
    if (! canStep (steps))
        return;

    // The slider follows when the updater has set the parameter.
    auto value = slider.getValue() + steps * (double) increment;
    value = steps > 0 ? jmin (value, slider.getMaximum()) : jmax (value, slider.getMinimum());
    updater->userUpdateValue (paramID, (float) value);
}

void SliderSuite::addKeyListener (KeyListener* listener)
{
    slider.addKeyListener (listener);
    label.addKeyListener (listener);
}

void SliderSuite::labelTextChanged (Label* changed)
{
    if (updater == nullptr || changed != &label)
        return;

    updater->userUpdateValue (paramID, valueOfTypedText (label.getText()));
}

float SliderSuite::valueOfTypedText (const String& text)
{
    auto number = text;
    const auto separator = text.indexOfIgnoreCase (prefixValueSeparator);

    if (separator >= 0)
        number = text.substring (separator + prefixValueSeparator.length());

    const auto value = leadingNumber (number);
    return value.has_value() ? (float) *value : std::numeric_limits<float>::quiet_NaN();
}

//==============================================================================
IndicatorLightSuite::IndicatorLightSuite (LookAndFeel& lookAndFeel)
    : ControlWithLabel (lookAndFeel, false, "IndicatorLight", lookAndFeel.counterBackgroundColour,
                        Array<Colour> { lookAndFeel.primaryColour, lookAndFeel.secondaryColour })
{
}

//==============================================================================
TextEditorSuite::TextEditorSuite (LookAndFeel& lookAndFeel)
    : ControlWithLabel (lookAndFeel, false, lookAndFeel)
{
}

} // namespace juce::vorn_gui
