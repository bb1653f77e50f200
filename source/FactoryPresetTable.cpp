#include "FactoryPresetTable.h"
#include "ModelTree.h"

#include <vorn_gui/vorn_gui.h>

#include <algorithm>

juce::String FactoryPresetRow::resourceName() const
{
    return name.replaceCharacter (' ', '_') + "_pl11";
}

juce::String FactoryPresetRow::fileName() const
{
    return name.replaceCharacter (' ', '_') + ".pl11";
}

namespace
{
/** The header names the category, the name and the eleven parameters. */
bool isCompleteHeader (const juce::StringArray& header)
{
    if (header.size() != ModelTree::canonicalIds().size() + 2 || header[0] != "Category" || header[1] != "Name")
        return false;

    for (const auto& id : ModelTree::canonicalIds())
        if (! header.contains (id))
            return false;

    return true;
}

/** A name that can stand as a file name of its own in the build folder. */
bool isUsableName (const juce::String& name)
{
    return name.isNotEmpty() && ! name.containsAnyOf ("/\\:") && ! name.startsWithChar ('.');
}

/** For "Mode" the name of a choice, for the others a plain number. */
bool isUsableValue (const juce::String& id, const juce::String& value)
{
    if (id == "Mode")
        return std::find (ModelTree::modeChoices.begin(), ModelTree::modeChoices.end(), value.toStdString())
            != ModelTree::modeChoices.end();

    return juce::vorn_gui::wholeNumber (value).has_value();
}
} // namespace

std::vector<FactoryPresetRow> parseFactoryPresetTable (const juce::String& text, juce::StringArray& problems)
{
    std::vector<FactoryPresetRow> rows;
    juce::StringArray header;

    for (const auto& line : juce::StringArray::fromLines (text))
    {
        if (line.trim().isEmpty() || line.trimStart().startsWithChar ('#'))
            continue;

        auto cells = juce::StringArray::fromTokens (line, "\t", {});
        cells.trim();

        if (header.isEmpty())
        {
            header = cells;

            if (! isCompleteHeader (header))
                problems.add ("the header does not name the category, the name and the eleven parameters: " + line);

            continue;
        }

        if (! isCompleteHeader (header))
            continue;

        if (cells.size() != header.size())
        {
            problems.add ("wrong number of columns: " + line);
            continue;
        }

        if (! isUsableName (cells[1]))
        {
            problems.add ("a preset name must not be empty, start with a dot or hold a path separator: " + line);
            continue;
        }

        FactoryPresetRow row;
        row.category = cells[0];
        row.name = cells[1];

        for (int i = 2; i < header.size(); ++i)
        {
            if (! isUsableValue (header[i], cells[i]))
            {
                problems.add ("not a value for " + header[i] + ": " + line);
                break;
            }

            row.values.set (header[i], cells[i]);
        }

        if (row.values.size() == header.size() - 2)
            rows.push_back (std::move (row));
    }

    return rows;
}
