// Suites, the grid and the link rows: layout, typed values, keyboard steps.
#include "../support/MessagePump.h"
#include "../support/ProcessorProbes.h"
#include <editor/Style.h>
#include <gtest/gtest.h>

namespace
{
using namespace juce::vorn_gui;

/** A stand-in for the processor: records what suites hand over. */
struct RecordingUpdater : UserValueUpdater
{
    void userUpdateValue (const juce::String& id, float value) override { values.push_back ({ id, value }); }
    std::vector<std::pair<juce::String, float>> values;
};

struct GridCase
{
    const char* name;
    std::vector<int> codes;
    int rows, columns, width, height;
    int suite;
    juce::Rectangle<int> control, label;
};

class GridLayout : public testing::TestWithParam<GridCase> {};

TEST_P (GridLayout, PlacesEachSuiteInItsCell)
{
    const auto& p = GetParam();
    PalimpsesterLookAndFeel lookAndFeel;
    juce::Array<int> codes;
    for (auto code : p.codes)
        codes.add (code);

    LabeledSuiteGrid grid (lookAndFeel, codes, p.rows, p.columns, lookAndFeel.secondaryColour);
    grid.setSize (p.width, p.height);

    auto* suite = grid.suites[p.suite].suite;
    juce::Component* control = nullptr;
    juce::Component* label = nullptr;
    for (auto* child : grid.getChildren())
        if (suite->isThis (child))
            (dynamic_cast<BasicLabel*> (child) != nullptr ? label : control) = child;

    ASSERT_NE (control, nullptr);
    EXPECT_EQ (control->getBounds(), p.control) << p.name;
    EXPECT_EQ (label->getBounds(), p.label) << p.name;
}

INSTANTIATE_TEST_SUITE_P (Table, GridLayout, testing::Values (
    GridCase { "LightInRowZero", { 4, 3, 3, 3 }, 4, 1, 400, 200, 0, { 18, 18, 14, 14 }, { 50, 0, 350, 50 } },
    GridCase { "SliderInRowOne", { 4, 3, 3, 3 }, 4, 1, 400, 200, 1, { 0, 50, 250, 16 }, { 250, 50, 150, 16 } },
    GridCase { "NarrowCellGivesTheLabelNoWidth", { 3 }, 1, 1, 200, 50, 0, { 0, 0, 250, 16 }, { 250, 0, 0, 16 } },
    GridCase { "RotaryOfSideZeroSitsAtTheCentre", { 0 }, 1, 1, 100, 40, 0, { 20, 20, 0, 0 }, { 40, 0, 60, 40 } },
    GridCase { "SecondColumn", { 4, 4 }, 1, 2, 400, 50, 1, { 218, 18, 14, 14 }, { 250, 0, 150, 50 } },
    GridCase { "ZeroRowsAndColumnsCountAsOne", { 4 }, 0, 0, 100, 40, 0, { 13, 13, 14, 14 }, { 40, 0, 60, 40 } },
    GridCase { "AnUnknownCodeShiftsNothing", { 4, 99, 3 }, 2, 1, 400, 100, 1, { 0, 50, 250, 16 }, { 250, 50, 150, 16 } }),
    [] (const testing::TestParamInfo<GridCase>& testCase) { return std::string (testCase.param.name); });

struct TypedCase
{
    const char* name;
    const char* text;
    float expected; // NaN: refused
};

class TypedText : public testing::TestWithParam<TypedCase> {};

TEST_P (TypedText, IsReadAfterTheSeparator)
{
    const auto& p = GetParam();
    const auto value = SliderSuite::valueOfTypedText (juce::CharPointer_UTF8 (p.text));

    if (std::isnan (p.expected))
        EXPECT_TRUE (std::isnan (value)) << p.name << ": " << value;
    else
        EXPECT_FLOAT_EQ (value, p.expected) << p.name;
}

const auto refused = std::numeric_limits<float>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P (Table, TypedText, testing::Values (
    TypedCase { "PrefixNumberAndUnit", "Segment Size: 1500\xc2\xb5s", 1500.0f },
    TypedCase { "BareNumber", "1500", 1500.0f },
    TypedCase { "LeadingSpaces", "Mix:    12.5%", 12.5f },
    TypedCase { "Negative", "-3", -3.0f },
    TypedCase { "NumberThenWords", "N: 7 segments", 7.0f },
    TypedCase { "Empty", "", refused },
    TypedCase { "Typo", "Mix: abc", refused },
    TypedCase { "OnlyTheFirstSeparatorCounts", "a: b: 7", refused },
    TypedCase { "HexadecimalReadsItsLeadingZero", "0x10", 0.0f },
    TypedCase { "Infinity", "inf", refused }),
    [] (const testing::TestParamInfo<TypedCase>& testCase) { return std::string (testCase.param.name); });

/** A typed text without a number changes nothing: the processor refuses it
    and sends the present label text back. */
TEST (SliderSuiteTyping, TextWithoutANumberLeavesTheValueAndRestoresTheLabel)
{
    PluginProcessor processor;
    LabelRecorder labels;
    processor.labelUpdater = &labels;
    PalimpsesterLookAndFeel lookAndFeel;
    SliderSuite suite (lookAndFeel, juce::Slider::LinearHorizontal);
    juce::String id ("1- Seg Mix");
    suite.setAttachment (processor.tree, id, processor, 1.0f);

    suite.label.setText ("Mix: oops", juce::sendNotificationSync);
    EXPECT_FLOAT_EQ (plainValue (processor, "1- Seg Mix"), 100.0f);
    ASSERT_FALSE (labels.labels.empty());
    EXPECT_EQ (labels.labels.back().text, "Mix: 100.0%");

    suite.label.setText ("Mix: 45", juce::sendNotificationSync);
    EXPECT_FLOAT_EQ (plainValue (processor, "1- Seg Mix"), 45.0f);
    processor.labelUpdater = nullptr;
}

TEST (SuiteKeys, SlidersStepWithinTheirRangeAndTogglesFlip)
{
    PluginProcessor processor;
    PalimpsesterLookAndFeel lookAndFeel;
    RecordingUpdater updater;

    SliderSuite slider (lookAndFeel, juce::Slider::LinearHorizontal);
    juce::String id ("Tone");
    slider.setAttachment (processor.tree, id, updater, 0.5f);
    EXPECT_TRUE (slider.slider.getWantsKeyboardFocus());

    slider.slider.setRange (0.0, 10.0);
    slider.slider.setValue (9.0, juce::dontSendNotification);
    slider.incValue (3);
    slider.slider.setValue (0.2, juce::dontSendNotification);
    slider.incValue (-3);
    slider.incValue (0);
    ASSERT_EQ (updater.values.size(), 2u);
    EXPECT_FLOAT_EQ (updater.values[0].second, 10.0f);
    EXPECT_FLOAT_EQ (updater.values[1].second, 0.0f);
    EXPECT_EQ (updater.values[0].first, "Tone");

    ToggleButtonSuite toggle (lookAndFeel);
    juce::String mode ("Mode");
    toggle.setAttachment (processor.tree, mode, updater, 1.0f);
    updater.values.clear();
    toggle.incValue (1);
    toggle.button.setToggleState (true, juce::dontSendNotification);
    toggle.incValue (-1);
    ASSERT_EQ (updater.values.size(), 2u);
    EXPECT_FLOAT_EQ (updater.values[0].second, 1.0f);
    EXPECT_FLOAT_EQ (updater.values[1].second, 0.0f);

    // Without an increment a suite takes no focus and is not stepped.
    SliderSuite still (lookAndFeel, juce::Slider::LinearHorizontal);
    still.setAttachment (processor.tree, id, updater, 0.0f);
    EXPECT_FALSE (still.slider.getWantsKeyboardFocus());
    EXPECT_EQ (still.getIncrement(), 0.0f);
}

TEST (SuiteMap, AComponentKeepsItsFirstSuite)
{
    PalimpsesterLookAndFeel lookAndFeel;
    SliderSuite first (lookAndFeel, juce::Slider::LinearHorizontal), second (lookAndFeel, juce::Slider::LinearHorizontal);
    LabeledSuite::ComponentSuiteMap map;
    first.addToSuiteMap (map);
    first.addToSuiteMap (map);
    EXPECT_EQ (map.size(), 2u);
    EXPECT_EQ (map[&first.slider], &first);
    EXPECT_TRUE (first.isThis (&first.label));
    EXPECT_FALSE (first.isThis (&second.slider));
    EXPECT_FALSE (first.isThis (nullptr));
}

TEST (Links, TheRowKeepsOneSeparatorAndPairsTextsWithAddresses)
{
    PalimpsesterLookAndFeel lookAndFeel;
    HyperlinkLabelRow row (lookAndFeel, { "User Guide", "Get Support", "Extra" },
                           { juce::URL ("https://quillmark.example/guide"), juce::URL ("https://quillmark.example/support") });
    EXPECT_EQ (row.numLinks, 2);
    row.setSize (530, 22);
    row.resized();
    EXPECT_EQ (row.links[0]->getButtonText(), "User Guide");
    EXPECT_EQ (row.links[1]->getButtonText(), " // Get Support");
    EXPECT_EQ (row.links[1]->getRight(), 530);
    EXPECT_EQ (row.links[0]->getRight(), row.links[1]->getX());

    EXPECT_EQ (TitleLabels::readableSubtitle ("Palimpsester_v1-1-3"), "Palimpsester v1.1.3");
}

TEST (Links, ANoticeLinksOnlyToHttpsAddresses)
{
    PalimpsesterLookAndFeel lookAndFeel;
    NotificationLabel notice (lookAndFeel);
    EXPECT_FALSE (notice.isVisible());

    notice.setLinkIfSafe (juce::URL ("https://quillmark.example/news"));
    EXPECT_EQ (notice.getURL().toString (true), "https://quillmark.example/news");

    for (auto* unsafe : { "javascript:alert(1)", "file:///etc/passwd", "http://quillmark.example/news", "ftp://x.example/a" })
    {
        notice.setLinkIfSafe (juce::URL (unsafe));
        EXPECT_TRUE (notice.getURL().isEmpty()) << unsafe;
    }
}

TEST (IndicatorLightTimer, ThePendingStateBecomesCurrentOnce)
{
    PalimpsesterLookAndFeel lookAndFeel;
    IndicatorLightSuite suite (lookAndFeel);
    auto& light = suite.light;
    light.pendingState = 1;
    light.applyPendingStateAfter (1);
    EXPECT_EQ (light.currentState.load(), -1);

    const auto until = juce::Time::getMillisecondCounter() + 500;
    while (light.currentState.load() != 1 && juce::Time::getMillisecondCounter() < until)
        pumpMessages (5);
    EXPECT_EQ (light.currentState.load(), 1);
}
} // namespace
