#include <BareProcessor.h>
#include <PluginProcessor.h>
#include <gtest/gtest.h>

namespace
{
struct ToStringCase
{
    ModelTree::ArgType type;
    int stage;
    const char* expected;
};

class ArgTypeToString : public testing::TestWithParam<ToStringCase> {};

TEST_P (ArgTypeToString, BuildsPerStageIds)
{
    EXPECT_EQ (ModelTree::ArgType_toString (GetParam().type, GetParam().stage), juce::String (GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P (Table, ArgTypeToString, testing::Values (
    ToStringCase { ModelTree::NSegs, 1, "1- N Segs" },
    ToStringCase { ModelTree::SegSize, 2, "2- Seg Size" },
    ToStringCase { ModelTree::SegMix, 3, "3- Seg Mix" },
    ToStringCase { ModelTree::Tone, 1, "1- " },
    ToStringCase { ModelTree::Mode, 2, "2- " },
    ToStringCase { ModelTree::SegMix, -4, "-4- Seg Mix" }),
    [] (const testing::TestParamInfo<ToStringCase>& testCase) { return "Case" + std::to_string (testCase.index); });

struct ParseCase
{
    const char* id;
    ModelTree::ArgType type;
    int stage;
};

class ArgTypeFromString : public testing::TestWithParam<ParseCase> {};

TEST_P (ArgTypeFromString, ParsesKindAndStage)
{
    ModelTree::ArgType type = ModelTree::Invalid;
    int stage = 99;
    ModelTree::ArgType_index_fromString (GetParam().id, type, stage);
    EXPECT_EQ (type, GetParam().type) << GetParam().id;
    EXPECT_EQ (stage, GetParam().stage) << GetParam().id;
}

INSTANTIATE_TEST_SUITE_P (Table, ArgTypeFromString, testing::Values (
    ParseCase { "2- Seg Size", ModelTree::SegSize, 2 },
    ParseCase { "1- N Segs", ModelTree::NSegs, 1 },
    ParseCase { "3- Seg Mix", ModelTree::SegMix, 3 },
    ParseCase { "Tone", ModelTree::Tone, -1 },
    ParseCase { "tone", ModelTree::Tone, -1 },
    ParseCase { "TONE", ModelTree::Tone, -1 },
    ParseCase { "mODE", ModelTree::Mode, -1 },
    ParseCase { "Tone ", ModelTree::Invalid, -1 },
    ParseCase { "1- n segs", ModelTree::Invalid, -1 },
    ParseCase { "Seg Mix", ModelTree::SegMix, 0 },
    ParseCase { "", ModelTree::Invalid, -1 },
    ParseCase { "stage2_length", ModelTree::Invalid, -1 }),
    [] (const testing::TestParamInfo<ParseCase>& testCase) { return "Case" + std::to_string (testCase.index); });

using DummyProcessor = BareProcessor;

struct LayoutRow
{
    const char* id;
    float min, max, step, defaultValue;
};

TEST (ParameterLayout, ElevenParametersInHostOrderWithRangesAndDefaults)
{
    DummyProcessor processor;
    ModelTree tree (processor);

    const LayoutRow rows[] = {
        { "Mode", 0, 1, 1, 0 },
        { "Tone", 0, 100, 0.01f, 75 },
        { "1- N Segs", 2, 91, 1, 31 },     { "1- Seg Size", 1, 48, 0.01f, 11 }, { "1- Seg Mix", 0, 120, 0.01f, 100 },
        { "2- N Segs", 2, 91, 1, 31 },     { "2- Seg Size", 1, 48, 0.01f, 11 }, { "2- Seg Mix", 0, 120, 0.01f, 0 },
        { "3- N Segs", 2, 91, 1, 31 },     { "3- Seg Size", 1, 48, 0.01f, 11 }, { "3- Seg Mix", 0, 120, 0.01f, 0 },
    };

    const auto& parameters = processor.getParameters();
    ASSERT_EQ (parameters.size(), 11);

    for (int i = 0; i < 11; ++i)
    {
        const auto& row = rows[i];
        auto* parameter = dynamic_cast<juce::RangedAudioParameter*> (parameters[i]);
        ASSERT_NE (parameter, nullptr);
        EXPECT_EQ (parameter->getParameterID(), row.id);
        EXPECT_EQ (parameter->getName (100), row.id);
        EXPECT_EQ (parameter->getVersionHint(), 0);
        EXPECT_TRUE (parameter->getLabel().isEmpty());
        EXPECT_TRUE (parameter->isAutomatable());
        EXPECT_FALSE (parameter->isMetaParameter());

        const auto& range = parameter->getNormalisableRange();
        EXPECT_FLOAT_EQ (range.start, row.min) << row.id;
        EXPECT_FLOAT_EQ (range.end, row.max) << row.id;
        EXPECT_FLOAT_EQ (range.interval, row.step) << row.id;
        EXPECT_FLOAT_EQ (range.skew, 1.0f) << row.id;
        EXPECT_FLOAT_EQ (parameter->convertFrom0to1 (parameter->getDefaultValue()), row.defaultValue) << row.id;
        EXPECT_EQ (tree.parameter (row.id), parameter);
    }

    EXPECT_EQ (tree.state.getType().toString(), "Pl11");
}

TEST (ParameterLayout, ModeNormalisedOneIsParallel)
{
    DummyProcessor processor;
    ModelTree tree (processor);
    auto* mode = dynamic_cast<juce::AudioParameterChoice*> (tree.parameter ("Mode"));
    ASSERT_NE (mode, nullptr);
    EXPECT_EQ (mode->getCurrentChoiceName(), "Series");
    mode->setValueNotifyingHost (1.0f);
    EXPECT_EQ (mode->getCurrentChoiceName(), "Parallel");
    EXPECT_EQ (ModelTree::modeChoices, (std::vector<std::string> { "Series", "Parallel" }));
}

// The LV2 wrapper reduces an ID to a Turtle name; the IDs it sees must stay
// distinct under that reduction and translate back to the canonical ones.
juce::String asTurtleName (const juce::String& id)
{
    auto escaped = juce::URL::addEscapeChars (id, true);
    juce::String result;

    for (int i = 0; i < escaped.length(); ++i)
    {
        const auto c = escaped[i];
        const bool startChar = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
        const bool nameChar = startChar || c == '-' || (c >= '0' && c <= '9');
        result += (i == 0 ? startChar : nameChar) ? juce::String::charToString (c) : "_";
    }

    return result;
}

TEST (ParameterLayout, Lv2InstancesUseDistinctTurtleSafeIds)
{
    juce::AudioProcessor::setTypeOfNextNewPlugin (juce::AudioProcessor::wrapperType_LV2);
    DummyProcessor processor;
    juce::AudioProcessor::setTypeOfNextNewPlugin (juce::AudioProcessor::wrapperType_Undefined);
    ModelTree tree (processor);
    ASSERT_TRUE (tree.usesLv2SafeIds());

    juce::StringArray turtleNames;

    for (const auto& canonical : ModelTree::canonicalIds())
    {
        auto* parameter = tree.parameter (canonical);
        ASSERT_NE (parameter, nullptr) << canonical;
        EXPECT_EQ (parameter->getName (100), canonical);
        EXPECT_EQ (tree.canonicalId (parameter->getParameterID()), canonical);
        EXPECT_EQ (asTurtleName (parameter->getParameterID()), parameter->getParameterID());
        turtleNames.addIfNotAlreadyThere (asTurtleName (parameter->getParameterID()));
    }

    EXPECT_EQ (turtleNames.size(), 11);
    EXPECT_EQ (tree.parameter ("2- Seg Size")->getParameterID(), "stage2_length");

    // Hosts built on the framework sort LV2 parameters by URI: that order
    // must still be the host order.
    juce::StringArray liveIds;
    for (const auto& canonical : ModelTree::canonicalIds())
        liveIds.add (tree.liveId (canonical));
    auto sorted = liveIds;
    sorted.sort (false);
    EXPECT_EQ (sorted, liveIds);
    // Without the translation the three stages would share five names.
    juce::StringArray canonicalTurtleNames;
    for (const auto& canonical : ModelTree::canonicalIds())
        canonicalTurtleNames.addIfNotAlreadyThere (asTurtleName (canonical));
    EXPECT_EQ (canonicalTurtleNames.size(), 5);
}
} // namespace
