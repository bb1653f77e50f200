#pragma once

namespace juce::vorn_gui
{

/** A one-line hint bar: shows the help text of whatever component the mouse
    is over, refreshed about six times a second by a thread of its own that
    touches components only under the message-thread lock. A box toggle at
    its left end switches the hints off and on. It must have a parent:
    pointing at the parent counts as pointing at nothing. */
class TipDisplayComponent : public Component, public Thread, public Button::Listener
{
public:
    explicit TipDisplayComponent (LookAndFeel& lf);

    /** Stops the thread, waiting at most a second, before any member goes. */
    ~TipDisplayComponent() override;

    void resized() override;
    void run() override;
    void buttonClicked (Button* button) override;

    /** Message thread: what the bar shows for the component under the main
        mouse source now. */
    String hintUnderMouse() const;

    static const String defaultHelpText;
    static const String hintsOffText;
    static constexpr int pollMilliseconds = 160;

    std::atomic<bool> hintsEnabled { true };
    ToggleButtonSuite suite;

private:
    Desktop& desktop;
};

} // namespace juce::vorn_gui
