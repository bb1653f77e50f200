// The factory presets' table, as an edit may leave it: whatever the text,
// the parser returns only complete rows and names what it skipped.
#include "FuzzTarget.h"
#include <FactoryPresetTable.h>

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, std::size_t size)
{
    // The table is read as UTF-8 text; bytes that are not are refused
    // before they become a string, as everywhere the plug-in reads text.
    const auto* bytes = reinterpret_cast<const char*> (data);
    if (! juce::CharPointer_UTF8::isValidString (bytes, (int) size))
        return 0;

    const auto text = juce::String::fromUTF8 (bytes, (int) size);
    juce::StringArray problems;
    const auto rows = parseFactoryPresetTable (text, problems);

    for (const auto& row : rows)
    {
        fuzz::require (row.name.isNotEmpty(), "row.name.isNotEmpty()");
        fuzz::require (row.values.size() == ModelTree::canonicalIds().size(), "row.values.size() == ModelTree::canonicalIds().size()");
        fuzz::require (row.fileName().endsWith (".pl11"), "row.fileName().endsWith (\".pl11\")");
    }

    return 0;
}
