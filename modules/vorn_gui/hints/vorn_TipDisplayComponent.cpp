namespace juce::vorn_gui
{

const String TipDisplayComponent::defaultHelpText ("Toggle button to disable hints.");
const String TipDisplayComponent::hintsOffText ("Component Hints: Off");

TipDisplayComponent::TipDisplayComponent (LookAndFeel& lf)
    : Thread ("TipDisplayThread"), suite (lf), desktop (Desktop::getInstance())
{
    // Switched on before anyone listens, so nothing reacts.
    suite.button.setToggleState (true, sendNotification);
    suite.button.addListener (this);
    suite.addToParentAndMakeVisible (*this);
    startThread (Thread::Priority::low);
}

TipDisplayComponent::~TipDisplayComponent()
{
    stopThread (1000);
    suite.button.removeListener (this);
}

void TipDisplayComponent::resized()
{
    const auto side = jmin (getWidth(), getHeight());
    suite.button.setBounds (4, 4, jmax (0, side - 8), jmax (0, getHeight() - 8));
    suite.label.setBounds (side, 0, getWidth() - side, getHeight());
}

String TipDisplayComponent::hintUnderMouse() const
{
    auto mouse = desktop.getMainMouseSource();
    auto* component = mouse.getComponentUnderMouse();
    const auto position = mouse.getScreenPosition().roundToInt();

    // The component of the last mouse event may be stale (no event since the
    // pointer moved, or a host that swallows them): the pointer's position
    // decides then.
    if (component == nullptr || ! component->getScreenBounds().contains (position))
        component = desktop.findComponentAt (position);

    if (component == nullptr || component == getParentComponent() || mouse.isDragging()
        || mouse.getCurrentModifiers().isAnyMouseButtonDown() || component->isCurrentlyBlockedByAnotherModalComponent())
        return defaultHelpText;

    const auto help = component->getHelpText();
    return help.isEmpty() ? defaultHelpText : help;
}

void TipDisplayComponent::run()
{
    while (! threadShouldExit())
    {
        if (hintsEnabled.load())
        {
            // Gives up, without the lock, as soon as the thread is asked to
            // stop, so that a closing editor never waits for it.
            const MessageManagerLock lock (this);

            if (! lock.lockWasGained() || threadShouldExit())
                return;

            // The switch may have gone off while the lock was awaited.
            if (hintsEnabled.load())
                suite.label.setText (hintUnderMouse(), dontSendNotification);
        }

        wait (pollMilliseconds);
    }
}

void TipDisplayComponent::buttonClicked (Button* button)
{
    if (button != &suite.button)
        return;

    hintsEnabled = suite.button.getToggleState();

    if (! hintsEnabled.load())
        suite.label.setText (hintsOffText, dontSendNotification);
}

} // namespace juce::vorn_gui
