#include "FactoryPresets.h"
#include "FactoryPresetTable.h"

// The embedded resources are generated from the factory preset table by a
// tool that links this library, so their header cannot be a dependency of
// it; the lookup function the framework generates is declared here and
// resolved by the resources library, which the plug-in formats, the tests
// and the benchmarks link.
namespace BinaryData
{
const char* getNamedResource (const char* resourceNameUTF8, int& dataSizeInBytes);
}

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
