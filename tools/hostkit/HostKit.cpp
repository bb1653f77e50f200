#include "HostKit.h"

#include <cstdlib>
#include <map>

namespace hostkit
{
namespace
{
Loaded instantiate (juce::AudioPluginFormat& format, const juce::String& fileOrIdentifier, double sampleRate, int blockSize)
{
    juce::OwnedArray<juce::PluginDescription> types;
    format.findAllTypesForFile (types, fileOrIdentifier);

    if (types.isEmpty())
        return { nullptr, "no plug-in found in " + fileOrIdentifier };

    Loaded loaded;
    loaded.instance = format.createInstanceFromDescription (*types[0], sampleRate, blockSize, loaded.error);
    return loaded;
}
} // namespace

Loaded loadVst3 (const juce::File& bundle, double sampleRate, int blockSize)
{
    static juce::VST3PluginFormat format;
    return instantiate (format, bundle.getFullPathName(), sampleRate, blockSize);
}

/** JUCE 7's LV2 hosting loads ~/.lv2 and the system LV2 folders when it is
    created and ignores LV2_PATH; a plug-in found there first hides every
    other copy of it. To load the bundles of one particular folder, the
    format is created while HOME points at a temporary folder whose .lv2
    links to them. The folder lives as long as the format. */
class Lv2FormatForFolder
{
public:
    explicit Lv2FormatForFolder (const juce::File& bundles)
        : home (juce::File::getSpecialLocation (juce::File::tempDirectory).getNonexistentChildFile ("hostkit-home", {}))
    {
        const auto links = home.getChildFile (".lv2");
        links.createDirectory();

        for (const auto& bundle : bundles.findChildFiles (juce::File::findDirectories, false, "*.lv2"))
            bundle.createSymbolicLink (links.getChildFile (bundle.getFileName()), true);

        const auto* previousHome = std::getenv ("HOME");
        const juce::String savedHome (previousHome != nullptr ? previousHome : "");
        setenv ("HOME", home.getFullPathName().toRawUTF8(), 1);
        format = std::make_unique<juce::LV2PluginFormat>();
        setenv ("HOME", savedHome.toRawUTF8(), 1);
    }

    ~Lv2FormatForFolder()
    {
        format.reset();
        home.deleteRecursively (false);
    }

    juce::LV2PluginFormat& get() { return *format; }

private:
    juce::File home;
    std::unique_ptr<juce::LV2PluginFormat> format;
};

Loaded loadLv2 (const juce::String& uri, double sampleRate, int blockSize)
{
    static juce::LV2PluginFormat format;
    return instantiate (format, uri, sampleRate, blockSize);
}

Loaded loadLv2 (const juce::String& uri, const juce::File& bundleFolder, double sampleRate, int blockSize)
{
    static std::map<juce::String, std::unique_ptr<Lv2FormatForFolder>> formats;
    auto& format = formats[bundleFolder.getFullPathName()];

    if (format == nullptr)
        format = std::make_unique<Lv2FormatForFolder> (bundleFolder);

    return instantiate (format->get(), uri, sampleRate, blockSize);
}

juce::AudioBuffer<float> render (juce::AudioPluginInstance& plugin,
                                 const juce::AudioBuffer<float>& input,
                                 double sampleRate,
                                 int blockSize)
{
    const auto channels = input.getNumChannels();
    plugin.prepareToPlay (sampleRate, blockSize);
    // Plug-ins announce a new latency through the message thread, as they
    // would in a real host.
    juce::MessageManager::getInstance()->runDispatchLoopUntil (20);

    juce::AudioBuffer<float> output (input);
    juce::AudioBuffer<float> block (channels, blockSize);
    juce::MidiBuffer midi;

    for (int start = 0; start < input.getNumSamples(); start += blockSize)
    {
        const auto count = juce::jmin (blockSize, input.getNumSamples() - start);
        block.setSize (channels, count, false, false, true);

        for (int c = 0; c < channels; ++c)
            block.copyFrom (c, 0, input, c, start, count);

        plugin.processBlock (block, midi);

        for (int c = 0; c < channels; ++c)
            output.copyFrom (c, start, block, c, 0, count);
    }

    juce::MessageManager::getInstance()->runDispatchLoopUntil (20);
    plugin.releaseResources();
    return output;
}

juce::MemoryBlock saveState (juce::AudioPluginInstance& plugin)
{
    juce::MemoryBlock state;
    plugin.getStateInformation (state);
    return state;
}

std::unique_ptr<juce::XmlElement> findStateDocument (const juce::MemoryBlock& hostState)
{
    static const char magic[] = { 'V', 'C', '2', '!' };
    const auto* bytes = static_cast<const char*> (hostState.getData());
    const auto size = (int) hostState.getSize();

    // The document itself, possibly behind a wrapper's own header.
    for (int offset = 0; offset + 8 < size; ++offset)
        if (std::equal (magic, magic + 4, bytes + offset))
            if (auto xml = juce::AudioProcessor::getXmlFromBinary (bytes + offset, size - offset))
                if (xml->getTagName().equalsIgnoreCase ("Pl11"))
                    return xml;

    // A wrapper's XML (VST3): look into every element's text.
    if (auto wrapper = juce::AudioProcessor::getXmlFromBinary (bytes, size))
    {
        for (auto* child = wrapper->getFirstChildElement(); child != nullptr; child = child->getNextElement())
        {
            juce::MemoryBlock decoded;
            if (decoded.fromBase64Encoding (child->getAllSubText().trim()))
                if (auto xml = findStateDocument (decoded))
                    return xml;
        }
    }

    // Turtle (LV2): look into every quoted string literal.
    const auto text = juce::String::fromUTF8 (bytes, size);
    for (int start = text.indexOfChar ('"'); start >= 0;)
    {
        const auto end = text.indexOfChar (start + 1, '"');
        if (end < 0)
            break;

        juce::MemoryBlock decoded;
        if (decoded.fromBase64Encoding (text.substring (start + 1, end)) && decoded.getSize() > 8)
            if (auto xml = findStateDocument (decoded))
                return xml;

        start = text.indexOfChar (end + 1, '"');
    }

    return nullptr;
}

juce::AudioBuffer<float> makeSine (int channels, int samples, double sampleRate, double frequency, float amplitude)
{
    juce::AudioBuffer<float> buffer (channels, samples);

    for (int c = 0; c < channels; ++c)
        for (int i = 0; i < samples; ++i)
            buffer.setSample (c, i, amplitude * (float) std::sin (juce::MathConstants<double>::twoPi * frequency * i / sampleRate));

    return buffer;
}

juce::AudioBuffer<float> makeImpulse (int channels, int samples, int position)
{
    juce::AudioBuffer<float> buffer (channels, samples);
    buffer.clear();

    for (int c = 0; c < channels; ++c)
        buffer.setSample (c, position, 1.0f);

    return buffer;
}

float rms (const juce::AudioBuffer<float>& buffer, int channel, int start, int count)
{
    return buffer.getRMSLevel (channel, start, count);
}

int firstSampleAbove (const juce::AudioBuffer<float>& buffer, int channel, float threshold)
{
    for (int i = 0; i < buffer.getNumSamples(); ++i)
        if (std::abs (buffer.getSample (channel, i)) > threshold)
            return i;

    return -1;
}

} // namespace hostkit
