#pragma once

namespace juce::vorn_gui
{

/** One control with the label that names it and shows its value, tied to
    one parameter. The editor talks to suites only through this interface.
    Owners hold suites by their concrete type: there is no virtual
    destructor here. */
class LabeledSuite
{
public:
    /** Which suite a component belongs to; neither side owned. */
    using ComponentSuiteMap = std::map<const Component*, LabeledSuite*>;

    /** Separates a label's name from its value: ": ". */
    static const String prefixValueSeparator;

    virtual bool isThis (Component*) { return false; }
    virtual void addToSuiteMap (ComponentSuiteMap&) {}
    virtual void addKeyListener (KeyListener*) {}
    virtual void setAttachment (AudioProcessorValueTreeState&, String&) {}
    virtual void setAttachment (AudioProcessorValueTreeState& tree, String& id, UserValueUpdater&, float)
    {
        setAttachment (tree, id);
    }
    virtual void incValue (int) {}
    virtual void addToParentAndMakeVisible (Component& parent) = 0;

    /** rects[0]: the control's area, rects[1]: the label's, in the
        parent's coordinates; each number is rounded on its own. */
    virtual void resizeInParent (Array<Rectangle<float>> rects) = 0;
    virtual void setLabelText (const String& text) = 0;
    virtual void setEnabled (bool) = 0;
    virtual void setVisible (bool) = 0;
    virtual void setComponentHelpText (const String& text) = 0;

    /** The keyboard step; 0 keeps the suite out of keyboard stepping. */
    float getIncrement() const noexcept { return increment; }

protected:
    LabeledSuite() = default;
    ~LabeledSuite() = default;

    static Rectangle<int> rounded (Rectangle<float> area);

    UserValueUpdater* updater = nullptr;
    float increment = 0.0f;
};

/** The shared behaviour of a suite made of a label and one control. */
template <typename Control>
class ControlWithLabel : public LabeledSuite
{
public:
    bool isThis (Component* c) override
    {
        return c != nullptr && (dynamic_cast<Control*> (c) == &control || dynamic_cast<BasicLabel*> (c) == &label);
    }

    void addToSuiteMap (ComponentSuiteMap& map) override
    {
        map.emplace (&control, this); // a component keeps its first suite
        map.emplace (&label, this);
    }

    void addToParentAndMakeVisible (Component& parent) override
    {
        if (labelFirst)
        {
            parent.addAndMakeVisible (label);
            parent.addAndMakeVisible (control);
        }
        else
        {
            parent.addAndMakeVisible (control);
            parent.addAndMakeVisible (label);
        }
    }

    void resizeInParent (Array<Rectangle<float>> rects) override
    {
        if (rects.size() < 2)
            return;

        control.setBounds (rounded (rects[0]));
        label.setBounds (rounded (rects[1]));
    }

    void setLabelText (const String& text) override { label.setText (text, dontSendNotification); }

    void setEnabled (bool enabled) override
    {
        label.setEnabled (enabled);
        control.setEnabled (enabled);
    }

    void setVisible (bool visible) override
    {
        label.setVisible (visible);
        control.setVisible (visible);
    }

    void setComponentHelpText (const String& text) override
    {
        label.setHelpText (text);
        control.setHelpText (text);
    }

    BasicLabel label;
    Control control;
    String paramID;

protected:
    /** Keeps the parameter and the updater; a non-zero step lets the control
        take the keyboard focus that arrow keys follow. */
    void keepUpdater (const String& id, UserValueUpdater& valueUpdater, float step)
    {
        paramID = id;
        updater = &valueUpdater;

        if (step != 0.0f)
        {
            increment = step;
            control.setWantsKeyboardFocus (true);
        }
    }

    bool canStep (int steps) const noexcept { return steps != 0 && updater != nullptr; }

    template <typename... ControlArguments>
    ControlWithLabel (LookAndFeel& lookAndFeel, bool labelIsAddedFirst, ControlArguments&&... arguments)
        : label (lookAndFeel), control (std::forward<ControlArguments> (arguments)...), labelFirst (labelIsAddedFirst)
    {
    }

    ~ControlWithLabel() = default;

private:
    const bool labelFirst;
};

/** A box toggle and its label; keyboard steps flip it. */
class ToggleButtonSuite final : public ControlWithLabel<BoxToggleButton>
{
public:
    explicit ToggleButtonSuite (LookAndFeel& lookAndFeel);

    void setAttachment (AudioProcessorValueTreeState& tree, String& paramID) override;
    void setAttachment (AudioProcessorValueTreeState& tree, String& paramID, UserValueUpdater& updater, float increment) override;
    void incValue (int steps) override;
    void addKeyListener (KeyListener* listener) override;

    BoxToggleButton& button = control;
    std::unique_ptr<AudioProcessorValueTreeState::ButtonAttachment> attachment;
};

/** A slider with an editable value label: typing into the label or stepping
    with the keyboard hands the value to the updater, which decides. */
class SliderSuite : public ControlWithLabel<Slider>, public Label::Listener
{
public:
    SliderSuite (LookAndFeel& lookAndFeel, Slider::SliderStyle style);
    ~SliderSuite() override;

    void setAttachment (AudioProcessorValueTreeState& tree, String& paramID) override;
    void setAttachment (AudioProcessorValueTreeState& tree, String& paramID, UserValueUpdater& updater, float increment) override;
    void incValue (int steps) override;
    void addKeyListener (KeyListener* listener) override;
    void labelTextChanged (Label* label) override;

    /** The number a typed text holds: read after the first separator (if
        any), from its start, leading spaces skipped and a trailing unit
        ignored. NaN when it holds no number there: the updater refuses that
        and shows the present value again. */
    static float valueOfTypedText (const String& text);

    Slider& slider = control;
    std::unique_ptr<AudioProcessorValueTreeState::SliderAttachment> attachment;
};

/** An indicator light and its label; the owner drives the light. */
class IndicatorLightSuite final : public ControlWithLabel<IndicatorLight>
{
public:
    explicit IndicatorLightSuite (LookAndFeel& lookAndFeel);

    IndicatorLight& light = control;
};

/** A text field and its label, for forms with a typed field; no parameter,
    no keyboard stepping, not entered in suite maps. */
class TextEditorSuite final : public ControlWithLabel<BasicTextEditor>
{
public:
    explicit TextEditorSuite (LookAndFeel& lookAndFeel);

    bool isThis (Component*) override { return false; }
    void addToSuiteMap (ComponentSuiteMap&) override {}
    void addKeyListener (KeyListener* listener) override { editor.addKeyListener (listener); }
    void setAttachment (AudioProcessorValueTreeState&, String&) override {}
    void setAttachment (AudioProcessorValueTreeState& tree, String& id, UserValueUpdater& u, float step) override
    {
        LabeledSuite::setAttachment (tree, id, u, step);
    }

    void clearText() { editor.setText ({}, false); }

    BasicTextEditor& editor = control;
};

} // namespace juce::vorn_gui
