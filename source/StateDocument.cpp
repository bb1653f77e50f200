#include "StateDocument.h"

#include <vorn_gui/vorn_gui.h>

namespace state_document
{
namespace
{
constexpr auto companyName = "Quillmark";
constexpr auto productName = "Palimpsester";
constexpr auto productVersion = "1.1.3";

const juce::Identifier paramType ("PARAM"), idAttribute ("id"), valueAttribute ("value");
const juce::Identifier loadedPresetAttribute ("LoadedPreset"), loadedPresetModifiedAttribute ("LoadedPresetModified");

/** Keeps the first of attributes that stand twice in one element: the
    framework's value trees would keep both, and which one counts would then
    change from one reading to the next. */
void dropRepeatedAttributes (juce::XmlElement& element)
{
    juce::StringPairArray firstOfEach (false);

    for (int i = 0; i < element.getNumAttributes(); ++i)
        if (! firstOfEach.containsKey (element.getAttributeName (i)))
            firstOfEach.set (element.getAttributeName (i), element.getAttributeValue (i));

    if (firstOfEach.size() == element.getNumAttributes())
        return;

    element.removeAllAttributes();

    for (const auto& name : firstOfEach.getAllKeys())
        element.setAttribute (name, firstOfEach[name]);
}

/** The root and its children without repeated attributes, and without a
    second "PARAM" child for a parameter that one names already. */
void dropRepetitions (juce::XmlElement& root)
{
    dropRepeatedAttributes (root);
    juce::StringArray idsSeen;

    for (auto* child = root.getFirstChildElement(); child != nullptr;)
    {
        auto* next = child->getNextElement();
        dropRepeatedAttributes (*child);

        if (child->hasTagName (paramType.toString()))
        {
            const auto id = child->getStringAttribute (idAttribute.toString());

            if (idsSeen.contains (id))
                root.removeChildElement (child, true);
            else
                idsSeen.add (id);
        }

        child = next;
    }
}

/** The document of a state block: the magic number, the text's length
    (clipped to the bytes present) and the text, parsed as XML. Text that is
    not valid UTF-8 is refused before the framework's parser sees it: on an
    unfinished multi-byte character at the end it reads past the text. */
std::unique_ptr<juce::XmlElement> parseBlock (const void* data, int sizeInBytes)
{
    constexpr juce::uint32 magic = 0x21324356;

    if (data == nullptr || sizeInBytes <= 8 || juce::ByteOrder::littleEndianInt (data) != magic)
        return {};

    const auto length = (int) juce::ByteOrder::littleEndianInt (juce::addBytesToPointer (data, 4));

    if (length <= 0)
        return {};

    const auto* text = static_cast<const char*> (data) + 8;
    const auto textBytes = juce::jmin (sizeInBytes - 8, length);

    if (! juce::CharPointer_UTF8::isValidString (text, textBytes))
        return {};

    return juce::parseXML (juce::String::fromUTF8 (text, textBytes));
}

/** A stored value as a number: a decimal number, or an infinity (which the
    range then clamps); NaN for anything else. */
double storedNumber (const juce::String& text)
{
    if (const auto number = juce::vorn_gui::wholeNumber (text))
        return *number;

    const auto word = text.trim().toLowerCase();

    if (word == "inf" || word == "+inf" || word == "infinity" || word == "+infinity")
        return std::numeric_limits<double>::infinity();

    if (word == "-inf" || word == "-infinity")
        return -std::numeric_limits<double>::infinity();

    return std::numeric_limits<double>::quiet_NaN();
}

void sanitiseParameterValues (const ModelTree& tree, juce::ValueTree& state)
{
    for (auto child : state)
    {
        if (! child.hasType (paramType))
            continue;

        auto* parameter = tree.getParameter (child.getProperty (idAttribute).toString());

        if (parameter == nullptr)
            continue;

        const auto& range = parameter->getNormalisableRange();
        const auto number = storedNumber (child.getProperty (valueAttribute).toString());
        const auto valid = std::isnan (number) ? (double) parameter->convertFrom0to1 (parameter->getDefaultValue())
                                               : juce::jlimit ((double) range.start, (double) range.end, number);

        child.setProperty (valueAttribute, valid, nullptr);
    }
}

/** A parameter that the document does not name takes its default, as the
    tree would do; the child is written out so that every later document
    names every parameter with a value. */
void addMissingParameters (const ModelTree& tree, juce::ValueTree& state)
{
    for (const auto& id : ModelTree::canonicalIds())
    {
        const auto liveId = tree.liveId (id);

        if (state.getChildWithProperty (idAttribute, liveId).isValid())
            continue;

        if (auto* parameter = tree.parameter (id))
        {
            juce::ValueTree child (paramType);
            child.setProperty (idAttribute, liveId, nullptr);
            child.setProperty (valueAttribute, parameter->convertFrom0to1 (parameter->getDefaultValue()), nullptr);
            state.appendChild (child, nullptr);
        }
    }
}
} // namespace

void write (ModelTree& tree, juce::MemoryBlock& destination, const PresetRecord* record)
{
    auto state = tree.withCanonicalIds (tree.copyState());
    state.setProperty ("CompanyName", companyName, nullptr);
    state.setProperty ("ProductNameWithoutVersion", productName, nullptr);
    state.setProperty ("ProductVersion", productVersion, nullptr);

    if (record != nullptr)
    {
        state.setProperty (loadedPresetAttribute, record->loadedPreset, nullptr);
        state.setProperty (loadedPresetModifiedAttribute, record->loadedPreset.isNotEmpty() && record->modified ? "1" : "0", nullptr);
    }

    destination.reset();

    if (const auto xml = state.createXml())
        juce::AudioProcessor::copyXmlToBinary (*xml, destination);
}

juce::ValueTree read (const ModelTree& tree, const void* data, int sizeInBytes)
{
    const auto xml = parseBlock (data, sizeInBytes);

    if (xml == nullptr || ! xml->getTagName().equalsIgnoreCase (treeIdentifier.toString()))
        return {};

    xml->setTagName (treeIdentifier.toString());
    dropRepetitions (*xml);
    auto state = tree.withLiveIds (juce::ValueTree::fromXml (*xml));
    sanitiseParameterValues (tree, state);
    addMissingParameters (tree, state);
    return state;
}

PresetRecord recordOf (const juce::ValueTree& state)
{
    return { state.getProperty (loadedPresetAttribute).toString(), (bool) state.getProperty (loadedPresetModifiedAttribute, false) };
}

} // namespace state_document
