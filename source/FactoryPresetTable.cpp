#include "FactoryPresetTable.h"

juce::String FactoryPresetRow::resourceName() const
{
    return name.replaceCharacter (' ', '_') + "_pl11";
}

juce::String FactoryPresetRow::fileName() const
{
    return name.replaceCharacter (' ', '_') + ".pl11";
}

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
            continue;
        }

        if (cells.size() != header.size() || header.size() < 3)
        {
            problems.add ("wrong number of columns: " + line);
            continue;
        }

        FactoryPresetRow row;
        row.category = cells[0];
        row.name = cells[1];

        for (int i = 2; i < header.size(); ++i)
            row.values.set (header[i], cells[i]);

        rows.push_back (std::move (row));
    }

    return rows;
}
