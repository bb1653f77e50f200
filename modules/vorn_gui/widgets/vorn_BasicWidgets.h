#pragma once

namespace juce::vorn_gui
{

/** A label in the main font and the near-white text colour, centred left
    with a border of 6 pixels. */
class BasicLabel : public Label
{
public:
    explicit BasicLabel (LookAndFeel& lf);
    BasicLabel (LookAndFeel& lf, const String& text);
};

/** A text field in the main font, drawn by the toolkit's look and feel. */
class BasicTextEditor : public TextEditor
{
public:
    explicit BasicTextEditor (LookAndFeel& lf);
};

/** A square toggle without tick or text: violet when on, grey with an
    outline when off (violet outline under the mouse). */
class BoxToggleButton : public ToggleButton
{
public:
    explicit BoxToggleButton (LookAndFeel& lf);
    void paintButton (Graphics& g, bool isHighlighted, bool isDown) override;

private:
    LookAndFeel& lookAndFeel;
};

/** A text button that lights up violet under the mouse, while pressed and
    while toggled on. */
class MouseoverTextButton : public Button
{
public:
    MouseoverTextButton (LookAndFeel& lf, const String& text, bool clickingTogglesState, Button::Listener* listener);
    void paintButton (Graphics& g, bool isHighlighted, bool isDown) override;

private:
    LookAndFeel& lookAndFeel;
    String text;
};

/** A button showing an SVG icon drawn in black, recoloured: the colour,
    darker under the mouse, darker still while pressed, faded when
    disabled. */
class IconButton : public DrawableButton
{
public:
    IconButton (const char* svgData, int svgSize, Colour colour, String name, Button::Listener* listener,
                DrawableButton::ButtonStyle buttonStyle = DrawableButton::ImageFitted);

    /** The colour the icon artwork is drawn in, replaced by the button's. */
    const Colour placeholderColour = Colours::black;
};

/** An equilateral triangle button in the secondary colour. */
class TriangleButton : public ShapeButton
{
public:
    enum Orientation
    {
        up = 0,
        down = 1,
        left = 2,
        right = 3
    };

    TriangleButton (Orientation orientation, LookAndFeel& lf, String name, Button::Listener* listener);

    /** The triangle in a unit square. */
    static Path shapeFor (Orientation orientation);
};

/** A round light: a ring in the off colour while its state is below 0,
    otherwise a disc in the colour its state indexes. The state can be set
    at once, or left pending for a one-shot timer to apply. */
class IndicatorLight : public Button, private Timer
{
public:
    IndicatorLight (const String& name, Colour offColour, Array<Colour> colours);
    ~IndicatorLight() override;

    void paintButton (Graphics& g, bool isHighlighted, bool isDown) override;

    /** Makes the pending state current when the timer fires, once. */
    void applyPendingStateAfter (int milliseconds) { startTimer (milliseconds); }

    Colour offColour;
    Array<Colour> colours;
    std::atomic<int> currentState { -1 };
    std::atomic<int> pendingState { -1 };

private:
    void timerCallback() override;
};

} // namespace juce::vorn_gui
