#include "../support/ProcessorProbes.h"
#include <gtest/gtest.h>

#include <thread>

namespace
{
class Routing : public testing::Test
{
protected:
    void SetUp() override
    {
        processor.labelUpdater = &labels;
        processor.display = &display;
    }

    void TearDown() override
    {
        processor.labelUpdater = nullptr;
        processor.display = nullptr;
    }

    const RecordedLabel& lastLabel() const { return labels.labels.back(); }

    PluginProcessor processor;
    LabelRecorder labels;
    DisplayRecorder display;
};

TEST_F (Routing, LabelTextsOfEveryKind)
{
    const juce::String micro (juce::CharPointer_UTF8 ("\xc2\xb5"));
    struct Row { ModelTree::ArgType type; int stage; juce::String text; };
    const Row rows[] = {
        { ModelTree::NSegs, 1, "N: 31" },
        { ModelTree::SegSize, 2, "Segment Size: 11.0" + micro + "s" },
        { ModelTree::SegMix, 1, "Mix: 100.0%" },
        { ModelTree::SegMix, 3, "Mix: 0.0%" },
        { ModelTree::Tone, -1, "Presence: 75.0%" },
        { ModelTree::Mode, -1, "Mode: Series" },
        { ModelTree::Invalid, -1, "" },
    };

    for (const auto& row : rows)
    {
        processor.callUpdateLabel (row.type, row.stage);
        EXPECT_EQ (lastLabel().text, row.text);
        EXPECT_EQ (lastLabel().type, (int) row.type);
        EXPECT_EQ (lastLabel().stage, row.stage);
    }

    setPlain (processor, "Mode", 1);
    EXPECT_EQ (lastLabel().text, "Mode: Parallel");
    setPlain (processor, "2- Seg Size", 23.45f);
    EXPECT_EQ (lastLabel().text, "Segment Size: 23.4" + micro + "s");
    EXPECT_EQ (lastLabel().stage, 2);
}

struct TypedCase
{
    const char* id;
    float typed;
    bool accepted;
};

class TypedValues : public Routing, public testing::WithParamInterface<TypedCase> {};

TEST_P (TypedValues, AcceptedOnlyWithinTheRangeAsOneGesture)
{
    const auto& c = GetParam();
    auto* parameter = processor.tree.parameter (c.id);
    const auto before = parameter->getValue();
    GestureCounter gestures (*parameter);

    ModelTree::ArgType type;
    int stage;
    ModelTree::ArgType_index_fromString (c.id, type, stage);
    processor.callUpdateLabel (type, stage);
    const auto presentText = lastLabel().text;
    labels.labels.clear();

    processor.userUpdateValue (c.id, c.typed);
    ASSERT_EQ (labels.labels.size(), 1u);

    if (c.accepted)
    {
        EXPECT_NEAR (plainValue (processor, c.id), c.typed, 1.0e-3f);
        EXPECT_EQ (gestures.gestures, 1);
    }
    else
    {
        EXPECT_EQ (parameter->getValue(), before);
        EXPECT_EQ (gestures.gestures, 0);
        EXPECT_EQ (lastLabel().text, presentText);
    }
}

INSTANTIATE_TEST_SUITE_P (Limits, TypedValues, testing::Values (
    TypedCase { "2- Seg Size", 12, true },   TypedCase { "2- Seg Size", 1, true },    TypedCase { "2- Seg Size", 48, true },
    TypedCase { "2- Seg Size", 0.99f, false }, TypedCase { "2- Seg Size", 48.5f, false },
    TypedCase { "1- Seg Mix", 120, true },   TypedCase { "1- Seg Mix", 0, true },     TypedCase { "1- Seg Mix", 130, false },
    TypedCase { "1- Seg Mix", -0.1f, false },
    TypedCase { "3- N Segs", 2, true },      TypedCase { "3- N Segs", 91, true },     TypedCase { "3- N Segs", 92, false },
    TypedCase { "3- N Segs", 1.9f, false },
    TypedCase { "Tone", 100, true },         TypedCase { "Tone", 0, true },           TypedCase { "Tone", 100.5f, false },
    TypedCase { "Tone", std::numeric_limits<float>::quiet_NaN(), false }),
    [] (const testing::TestParamInfo<TypedCase>& testCase) { return "Case" + std::to_string (testCase.index); });

TEST_F (Routing, TheSameValueTypedAgainRecordsNoGestureButRewritesTheLabel)
{
    auto* parameter = processor.tree.parameter ("2- Seg Size");
    processor.userUpdateValue ("2- Seg Size", 11.0f + 9.0f);
    GestureCounter gestures (*parameter);
    labels.labels.clear();

    processor.userUpdateValue ("2- Seg Size", 20.0f);
    EXPECT_EQ (gestures.gestures, 0);
    ASSERT_EQ (labels.labels.size(), 1u);
    EXPECT_TRUE (lastLabel().text.startsWith ("Segment Size: 20.0"));
}

TEST_F (Routing, ModeTakesOnlyItsTwoChoices)
{
    struct Row { float typed; int index; };
    for (const auto& row : { Row { 1, 1 }, Row { 0, 0 }, Row { 7, 1 }, Row { 0.7f, 0 }, Row { -3, 0 }, Row { 1e30f, 1 } })
    {
        processor.userUpdateValue ("Mode", row.typed);
        EXPECT_EQ (processor.dsp.mode.index.load(), row.index) << row.typed;
        EXPECT_EQ (processor.tree.parameter ("Mode")->getValue(), (float) row.index) << row.typed;
    }

    processor.userUpdateValue ("Mode", 1);
    processor.userUpdateValue ("Mode", std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ (processor.dsp.mode.index.load(), 1);
}

TEST_F (Routing, ToggleSilencesAStageAndBringsItBack)
{
    setPlain (processor, "2- Seg Mix", 50);
    auto* mix = processor.tree.parameter ("2- Seg Mix");
    GestureCounter gestures (*mix);

    EXPECT_TRUE (processor.togglePalimpsesterStageMix (2));
    EXPECT_EQ (mix->getValue(), 0.0f);
    EXPECT_FALSE (processor.togglePalimpsesterStageMix (2));
    EXPECT_NEAR (plainValue (processor, "2- Seg Mix"), 50.0f, 0.01f);
    EXPECT_EQ (gestures.gestures, 2);

    // A stage silent since the start comes on at 90 %.
    EXPECT_FALSE (processor.togglePalimpsesterStageMix (3));
    EXPECT_NEAR (plainValue (processor, "3- Seg Mix"), 90.0f, 0.01f);
}

TEST_F (Routing, AutomationOffTheMessageThreadReachesTheDspAtOnceAndTheLabelLater)
{
    processor.setPresetModified (false, false);
    display.shown.clear();
    labels.labels.clear();

    std::thread automation ([this] { setPlain (processor, "Tone", 40); });
    automation.join();

    for (auto& stage : processor.dsp.stages)
        EXPECT_EQ (stage->toneFilter.tone.value.load(), 40.0f);
    EXPECT_TRUE (processor.presetModified.load());
    EXPECT_TRUE (labels.labels.empty());
    EXPECT_TRUE (display.shown.empty());

    processor.deliverPendingFeedback();
    ASSERT_EQ (labels.labels.size(), 1u);
    EXPECT_EQ (lastLabel().text, "Presence: 40.0%");
    EXPECT_EQ (lastLabel().type, (int) ModelTree::Tone);
    EXPECT_EQ (display.shown, std::vector<bool> { true });
}

TEST_F (Routing, EveryChangeMarksThePresetModifiedOnce)
{
    processor.setPresetModified (false, false);
    display.shown.clear();

    processor.parameterChanged ("Mode", 0);
    processor.parameterChanged ("Mode", 0);
    EXPECT_TRUE (processor.presetModified.load());
    EXPECT_EQ (display.shown, std::vector<bool> { true });
    EXPECT_EQ (lastLabel().text, "Mode: Series");

    processor.parameterChanged ("No such parameter", 3);
    EXPECT_EQ (lastLabel().text, "Mode: Series");
}

TEST (RoutingWithoutEditor, UpdatesTheDspAndTheFlagWithoutLabelWork)
{
    PluginProcessor processor;
    processor.setPresetModified (false, false);

    std::thread automation ([&] { setPlain (processor, "1- N Segs", 12); });
    automation.join();
    setPlain (processor, "3- Seg Size", 30);

    EXPECT_EQ (processor.dsp.stages[0]->numSegments.value.load(), 12);
    EXPECT_EQ (processor.dsp.stages[2]->segmentSize.target, 30.0f);
    EXPECT_TRUE (processor.presetModified.load());

    // An editor opened later gets no stale labels.
    LabelRecorder labels;
    processor.labelUpdater = &labels;
    processor.deliverPendingFeedback();
    EXPECT_TRUE (labels.labels.empty());
    processor.labelUpdater = nullptr;
}
} // namespace
