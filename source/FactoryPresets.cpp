#include "FactoryPresets.h"
#include "EmbeddedResources.h"
#include "FactoryPresetTable.h"

void registerFactoryPresets (juce::vorn_gui::PresetManager& manager)
{
    using Manager = juce::vorn_gui::PresetManager;

    int tableSize = 0;
    const auto* table = BinaryData::getNamedResource ("factory_presets_tsv", tableSize);
    juce::StringArray problems;
    if (table == nullptr || ! juce::CharPointer_UTF8::isValidString (table, tableSize))
    {
        jassertfalse; // the embedded table is not UTF-8 text
        return;
    }

    const auto rows = parseFactoryPresetTable (juce::String::fromUTF8 (table, tableSize), problems);
    jassert (problems.isEmpty());

    juce::Array<Manager::FactoryPresetCategory*> topCategories, subCategories;
    juce::Array<Manager::FactoryPreset*> presets;
    juce::String leaf, top;

    auto closeLeaf = [&]
    {
        if (leaf.isNotEmpty())
        {
            auto* category = manager._addFactoryCategory (leaf, presets);
            (leaf.contains ("//") ? subCategories : topCategories).add (category);
            presets.clear();
        }
    };

    auto closeTop = [&]
    {
        if (top.isNotEmpty() && ! subCategories.isEmpty())
            topCategories.add (manager._addFactoryCategory (top, subCategories, false));

        subCategories.clear();
    };

    for (const auto& row : rows)
    {
        if (row.category != leaf)
        {
            closeLeaf();
            const auto rowTop = row.category.upToFirstOccurrenceOf ("//", false, false);

            if (rowTop != top)
            {
                closeTop();
                top = rowTop;
            }

            leaf = row.category;
        }

        int size = 0;
        if (const auto* data = BinaryData::getNamedResource (row.resourceName().toRawUTF8(), size))
            presets.add (manager._addFactoryPreset (row.name, data, (size_t) size));
    }

    closeLeaf();
    closeTop();
    manager._addFactoryCategory ("Root", topCategories, true);
}
