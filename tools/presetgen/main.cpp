// palimpsester-presetgen: turns the factory presets' table into preset files.
//
//   palimpsester-presetgen TABLE.tsv OUTPUT_FOLDER
//
// Each row becomes OUTPUT_FOLDER/<Name_with_underscores>.pl11, written with
// the plug-in's own state writer and bit shift, exactly as Save writes a
// user preset. Exit status 1 on any problem, naming it.

#include <BareProcessor.h>
#include <ModelTree.h>
#include <FactoryPresetTable.h>
#include <PresetFormat.h>
#include <StateDocument.h>
#include <vorn_gui/vorn_gui.h>

#include <iostream>

namespace
{
/** Just enough of a processor to hold the parameter tree. */
struct PresetRenderer : BareProcessor
{
    ModelTree tree { *this };
};

/** The plain value a table cell names: a number, or a mode's name. */
bool plainValueOf (const juce::String& id, const juce::String& cell, float& plain)
{
    if (id == "Mode")
    {
        const auto index = std::find (ModelTree::modeChoices.begin(), ModelTree::modeChoices.end(), cell.toStdString());
        plain = (float) std::distance (ModelTree::modeChoices.begin(), index);
        return index != ModelTree::modeChoices.end();
    }

    const auto number = juce::vorn_gui::wholeNumber (cell);
    plain = (float) number.value_or (0.0);
    return number.has_value();
}

bool render (const FactoryPresetRow& row, const juce::File& folder)
{
    PresetRenderer renderer;

    for (const auto& id : ModelTree::canonicalIds())
    {
        float plain = 0;
        auto* parameter = renderer.tree.parameter (id);

        const auto& range = parameter->getNormalisableRange();

        if (! plainValueOf (id, row.values[id], plain) || plain < range.start || plain > range.end)
        {
            std::cerr << row.name << ": invalid value for " << id << ": \"" << row.values[id] << "\"\n";
            return false;
        }

        parameter->setValueNotifyingHost (parameter->convertTo0to1 (plain));
    }

    juce::MemoryBlock block;
    state_document::write (renderer.tree, block, nullptr);
    juce::vorn_gui::applyBitShift (block, presetBitShift);

    const auto file = folder.getChildFile (row.fileName());
    if (! file.replaceWithData (block.getData(), block.getSize()))
    {
        std::cerr << "cannot write " << file.getFullPathName() << "\n";
        return false;
    }

    return true;
}
} // namespace

int main (int argc, char* argv[])
{
    if (argc != 3)
    {
        std::cerr << "usage: palimpsester-presetgen TABLE.tsv OUTPUT_FOLDER\n";
        return 1;
    }

    const juce::ScopedJuceInitialiser_GUI juce;
    const auto cwd = juce::File::getCurrentWorkingDirectory();
    const auto table = cwd.getChildFile (argv[1]);
    const auto folder = cwd.getChildFile (argv[2]);

    juce::StringArray problems;
    const auto rows = parseFactoryPresetTable (table.loadFileAsString(), problems);

    for (const auto& problem : problems)
        std::cerr << table.getFileName() << ": " << problem << "\n";

    if (rows.empty() || ! problems.isEmpty() || ! folder.createDirectory())
        return 1;

    for (const auto& row : rows)
        if (! render (row, folder))
            return 1;

    std::cout << "wrote " << rows.size() << " factory presets to " << folder.getFullPathName() << "\n";
    return 0;
}
