// palimpsester-probe: loads the plug-in through JUCE's VST3 and LV2 hosting,
// runs one second of a 440 Hz sine through it and reports what came out.
//
//   palimpsester-probe [--vst3 BUNDLE] [--lv2 FOLDER]
//
// Without arguments it probes the bundles installed in ~/.vst3 and ~/.lv2;
// --lv2 names a folder holding the LV2 bundle to load instead.
// Exit status 0 when every probed format loaded and produced finite audio.

#include <HostKit.h>

#include <iostream>

namespace
{
constexpr double sampleRate = 48000.0;
constexpr int blockSize = 512;

bool report (const juce::String& format, hostkit::Loaded loaded)
{
    if (loaded.instance == nullptr)
    {
        std::cout << format << ": failed to load (" << loaded.error << ")\n";
        return false;
    }

    auto& plugin = *loaded.instance;
    const auto input = hostkit::makeSine (2, (int) sampleRate, sampleRate, 440.0, 0.5f);
    const auto output = hostkit::render (plugin, input, sampleRate, blockSize);

    bool finite = true;
    for (int c = 0; c < output.getNumChannels(); ++c)
        for (int i = 0; i < output.getNumSamples(); ++i)
            finite = finite && std::isfinite (output.getSample (c, i));

    const auto latency = plugin.getLatencySamples();
    const auto tail = output.getNumSamples() - latency;
    const auto inLevel = hostkit::rms (input, 0, 0, tail);
    const auto outLevel = hostkit::rms (output, 0, latency, tail);

    const auto ownParameters = plugin.getParameters().size() - (plugin.getBypassParameter() != nullptr ? 1 : 0);
    std::cout << format << ": loaded \"" << plugin.getName() << "\", "
              << ownParameters << " parameters (besides the host's bypass), latency " << latency << " samples\n"
              << "  1 s of 440 Hz sine at " << sampleRate << " Hz: input RMS " << inLevel
              << ", output RMS " << outLevel << (finite ? ", all samples finite" : ", NON-FINITE samples") << "\n";

    return finite && outLevel > 0.0f;
}
} // namespace

int main (int argc, char* argv[])
{
    hostkit::Session session;

    const auto home = juce::File::getSpecialLocation (juce::File::userHomeDirectory);
    juce::File vst3 = home.getChildFile (".vst3/Palimpsester.vst3");
    juce::File lv2Folder;

    for (int i = 1; i + 1 < argc; i += 2)
    {
        const juce::String option (argv[i]), value (argv[i + 1]);

        if (option == "--vst3")
            vst3 = juce::File::getCurrentWorkingDirectory().getChildFile (value);
        else if (option == "--lv2")
            lv2Folder = juce::File::getCurrentWorkingDirectory().getChildFile (value);
    }

    bool ok = report ("VST3 " + vst3.getFullPathName(), hostkit::loadVst3 (vst3, sampleRate, blockSize));
    auto lv2 = lv2Folder == juce::File() ? hostkit::loadLv2 (PALIMPSESTER_LV2_URI, sampleRate, blockSize)
                                         : hostkit::loadLv2 (PALIMPSESTER_LV2_URI, lv2Folder, sampleRate, blockSize);
    ok = report ("LV2 " + juce::String (PALIMPSESTER_LV2_URI), std::move (lv2)) && ok;

    std::cout << (ok ? "The plug-in loads and processes audio.\n" : "Probe FAILED.\n");
    return ok ? 0 : 1;
}
