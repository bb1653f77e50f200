// The hint line in a real window (under Xvfb in the test run): it follows
// the mouse, falls back to its own text, stays quiet while off, and lets
// its owner go at once even while its thread waits for the message thread.
#include "../support/MessagePump.h"
#include <QuietX11.h>
#include <editor/Style.h>
#include <gtest/gtest.h>

namespace
{
using namespace juce::vorn_gui;

// Before anything in this program talks to the display.
const bool x11ErrorsQuiet = (quietX11Errors(), true);

/** A window with a slider suite and the hint line, as the editor has them. */
struct HintedWindow : juce::Component
{
    HintedWindow()
        : slider (lookAndFeel, juce::Slider::LinearHorizontal), tips (std::make_unique<TipDisplayComponent> (lookAndFeel))
    {
        slider.addToParentAndMakeVisible (*this);
        slider.resizeInParent ({ juce::Rectangle<float> (10.0f, 10.0f, 200.0f, 20.0f),
                                 juce::Rectangle<float> (220.0f, 10.0f, 150.0f, 20.0f) });
        slider.setComponentHelpText ("Hint of the slider");
        addAndMakeVisible (*tips);
        tips->setBounds (0, 170, 400, 22);
        setBounds (100, 100, 400, 200);
        addToDesktop (0);
        setVisible (true);
        pumpMessages (300);
    }

    ~HintedWindow() override
    {
        tips.reset();
        removeFromDesktop();
    }

    juce::String hintAfterMovingTo (juce::Component& target)
    {
        juce::Desktop::setMousePosition (target.getScreenBounds().getCentre());
        pumpMessages (2 * TipDisplayComponent::pollMilliseconds + 100);
        return tips->suite.label.getText();
    }

    PalimpsesterLookAndFeel lookAndFeel;
    SliderSuite slider;
    std::unique_ptr<TipDisplayComponent> tips;
};

bool haveDisplay()
{
    return juce::Desktop::getInstance().getDisplays().getPrimaryDisplay() != nullptr;
}

TEST (HintDisplay, FollowsTheMouseAndStaysQuietWhileOff)
{
    if (! haveDisplay())
        GTEST_SKIP() << "needs a display (the test run provides one with Xvfb)";

    HintedWindow window;
    EXPECT_EQ (window.hintAfterMovingTo (window.slider.label), "Hint of the slider");
    EXPECT_EQ (window.hintAfterMovingTo (window.slider.slider), "Hint of the slider");
    EXPECT_EQ (window.hintAfterMovingTo (window), TipDisplayComponent::defaultHelpText); // the parent
    EXPECT_EQ (window.hintAfterMovingTo (window.tips->suite.button), TipDisplayComponent::defaultHelpText);

    window.tips->suite.button.setToggleState (false, juce::sendNotificationSync);
    EXPECT_EQ (window.hintAfterMovingTo (window.slider.label), TipDisplayComponent::hintsOffText);

    window.tips->suite.button.setToggleState (true, juce::sendNotificationSync);
    EXPECT_EQ (window.hintAfterMovingTo (window.slider.label), "Hint of the slider");
}

TEST (HintDisplay, ItsOwnerGoesAtOnceWhileItsThreadWaitsForTheMessageThread)
{
    PalimpsesterLookAndFeel lookAndFeel;
    juce::Component parent;
    auto tips = std::make_unique<TipDisplayComponent> (lookAndFeel);
    parent.addAndMakeVisible (*tips);

    // The message thread is busy here: the hint thread is left waiting for
    // its lock.
    juce::Thread::sleep (3 * TipDisplayComponent::pollMilliseconds);
    ASSERT_TRUE (tips->isThreadRunning());

    const auto start = juce::Time::getMillisecondCounterHiRes();
    auto* thread = tips.get();
    tips.reset();
    const auto took = juce::Time::getMillisecondCounterHiRes() - start;

    EXPECT_LT (took, 500.0);
    juce::ignoreUnused (thread);
}
} // namespace
