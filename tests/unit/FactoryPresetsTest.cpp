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
