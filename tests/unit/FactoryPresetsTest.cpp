#include "../support/ProcessorProbes.h"
#include <FactoryPresetTable.h>
#include <gtest/gtest.h>

namespace
{
std::vector<FactoryPresetRow> tableRows()
{
    juce::StringArray problems;
    auto rows = parseFactoryPresetTable (juce::File (PALIMPSESTER_FACTORY_TABLE).loadFileAsString(), problems);
    EXPECT_TRUE (problems.isEmpty()) << problems.joinIntoString ("\n");
    return rows;
}

float expectedPlain (const juce::String& id, const juce::String& cell)
{
    if (id == "Mode")
        return cell == "Parallel" ? 1.0f : 0.0f;
    return cell.getFloatValue();
}

struct TableCase
{
    const char* name;
    const char* header;
    const char* row;
    bool accepted;
};

class FactoryTableRows : public testing::TestWithParam<TableCase> {};

/** Rows that could not make a preset, or would name a file outside the
    generated folder, are skipped and named. */
TEST_P (FactoryTableRows, OnlyCompleteRowsAreTaken)
{
    const auto& p = GetParam();
    juce::StringArray problems;
    const auto rows = parseFactoryPresetTable (juce::String (p.header) + "\n" + p.row, problems);

    EXPECT_EQ (rows.size(), p.accepted ? 1u : 0u) << p.name;
    EXPECT_EQ (problems.isEmpty(), p.accepted) << p.name;
}

constexpr auto fullHeader = "Category\tName\tMode\tTone\t1- N Segs\t1- Seg Size\t1- Seg Mix\t2- N Segs\t2- Seg Size\t2- Seg Mix\t3- N Segs\t3- Seg Size\t3- Seg Mix";
constexpr auto headerWithoutTone = "Category\tName\tMode\tTune\t1- N Segs\t1- Seg Size\t1- Seg Mix\t2- N Segs\t2- Seg Size\t2- Seg Mix\t3- N Segs\t3- Seg Size\t3- Seg Mix";

INSTANTIATE_TEST_SUITE_P (Table, FactoryTableRows, testing::Values (
    TableCase { "Complete", fullHeader, "Pads\tSoft\tSeries\t55\t9\t34\t70\t4\t46\t40\t31\t11\t0", true },
    TableCase { "ModeAsNumber", fullHeader, "Pads\tSoft\t1\t55\t9\t34\t70\t4\t46\t40\t31\t11\t0", false },
    TableCase { "HugeExponent", fullHeader, "Pads\tSoft\tSeries\t1e1111111111\t9\t34\t70\t4\t46\t40\t31\t11\t0", false },
    TableCase { "MissingColumn", fullHeader, "Pads\tSoft\tSeries\t55\t9\t34\t70\t4\t46\t40\t31\t11", false },
    TableCase { "EmptyName", fullHeader, "Pads\t\tSeries\t55\t9\t34\t70\t4\t46\t40\t31\t11\t0", false },
    TableCase { "ClimbingName", fullHeader, "Pads\t../../evil\tSeries\t55\t9\t34\t70\t4\t46\t40\t31\t11\t0", false },
    TableCase { "NotANumber", fullHeader, "Pads\tSoft\tSeries\tloud\t9\t34\t70\t4\t46\t40\t31\t11\t0", false },
    TableCase { "UnknownMode", fullHeader, "Pads\tSoft\tSideways\t55\t9\t34\t70\t4\t46\t40\t31\t11\t0", false },
    TableCase { "HeaderWithoutAParameter", headerWithoutTone, "Pads\tSoft\tSeries\t55\t9\t34\t70\t4\t46\t40\t31\t11\t0", false }),
    [] (const testing::TestParamInfo<TableCase>& testCase) { return std::string (testCase.param.name); });

TEST (FactoryPresets, EveryPresetLoadsTheValuesOfItsRow)
{
    const auto rows = tableRows();
    ASSERT_EQ (rows.size(), 35u);

    PluginProcessor processor;
    auto& library = processor.presetManager;

    for (const auto& row : rows)
    {
        const juce::vorn_gui::PresetManager::FactoryPreset* preset = nullptr;
        for (const auto& [id, candidate] : library.factoryPresets)
            if (candidate.name == row.name)
                preset = &candidate;

        ASSERT_NE (preset, nullptr) << row.name;
        auto copy = preset->data;
        ASSERT_TRUE (processor.loadPresetState (copy)) << row.name;

        for (const auto& id : ModelTree::canonicalIds())
            EXPECT_NEAR (plainValue (processor, id), expectedPlain (id, row.values[id]), 0.005f) << row.name << ": " << id;
    }
}

TEST (FactoryPresets, EachFitsItsCategory)
{
    for (const auto& row : tableRows())
    {
        int sounding = 0;
        for (int stage = 1; stage <= 3; ++stage)
            sounding += row.values[ModelTree::ArgType_toString (ModelTree::SegMix, stage)].getFloatValue() > 0 ? 1 : 0;

        const auto top = row.category.upToFirstOccurrenceOf ("//", false, false);
        EXPECT_GE (sounding, 1) << row.name;

        if (top == "Series")
        {
            EXPECT_EQ (row.values["Mode"], "Series") << row.name;
            EXPECT_GE (sounding, 2) << row.name;
        }
        else if (top == "Parallel")
        {
            EXPECT_EQ (row.values["Mode"], "Parallel") << row.name;
            EXPECT_GE (sounding, 2) << row.name;
        }
        else if (top == "One-stage")
        {
            EXPECT_EQ (sounding, 1) << row.name;
        }
    }
}
} // namespace
