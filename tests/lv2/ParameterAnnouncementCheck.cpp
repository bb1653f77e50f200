// Loads the built LV2 bundle with lilv, the reference LV2 loader, as a plain
// LV2 host would, and reads what the plug-in announces on its output port:
// after instantiation every parameter must arrive with its value, and again
// after a state restore, so that hosts show the true values.
//
// Usage: palimpsester-lv2-announcement-check BUNDLE_FOLDER PLUGIN_URI
// Prints one line per finding and ends with "N passed, N failed".
#include <lilv/lilv.h>
#include <lv2/atom/atom.h>
#include <lv2/atom/forge.h>
#include <lv2/atom/util.h>
#include <lv2/buf-size/buf-size.h>
#include <lv2/options/options.h>
#include <lv2/patch/patch.h>
#include <lv2/urid/urid.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace
{
constexpr double sampleRate = 48000.0;
constexpr int32_t blockSize = 256;
constexpr uint32_t atomCapacity = 1 << 16;

/** The URID map and unmap features, both ways through one table. */
struct Urids
{
    static LV2_URID map (LV2_URID_Map_Handle handle, const char* uri)
    {
        auto& self = *static_cast<Urids*> (handle);
        auto found = self.ids.find (uri);
        if (found != self.ids.end())
            return found->second;
        self.uris.emplace_back (uri);
        return self.ids[uri] = (LV2_URID) self.uris.size();
    }

    static const char* unmap (LV2_URID_Unmap_Handle handle, LV2_URID urid)
    {
        auto& self = *static_cast<Urids*> (handle);
        return urid >= 1 && urid <= self.uris.size() ? self.uris[urid - 1].c_str() : nullptr;
    }

    LV2_URID operator() (const char* uri) { return map (this, uri); }

    std::map<std::string, LV2_URID> ids;
    std::vector<std::string> uris;
    LV2_URID_Map mapFeature { this, map };
    LV2_URID_Unmap unmapFeature { this, unmap };
};

struct Check
{
    void expect (bool ok, const std::string& what)
    {
        std::printf ("%s: %s\n", ok ? "ok" : "FAILED", what.c_str());
        (ok ? passed : failed) += 1;
    }

    int passed = 0, failed = 0;
};

/** One running instance with every port connected. */
class Instance
{
public:
    Instance (const LilvPlugin* plugin, LilvWorld* world, Urids& u, const LV2_Feature* const* features)
        : urids (u)
    {
        instance = lilv_plugin_instantiate (plugin, sampleRate, features);
        if (instance == nullptr)
            return;

        audio.assign (lilv_plugin_get_num_ports (plugin), std::vector<float> (blockSize, 0.0f));
        controls.assign (lilv_plugin_get_num_ports (plugin), 0.0f);
        input.resize (atomCapacity / sizeof (uint64_t));
        output.resize (atomCapacity / sizeof (uint64_t));

        auto* audioClass = lilv_new_uri (world, LILV_URI_AUDIO_PORT);
        auto* atomClass = lilv_new_uri (world, LV2_ATOM__AtomPort);
        auto* inputClass = lilv_new_uri (world, LILV_URI_INPUT_PORT);

        for (uint32_t i = 0; i < lilv_plugin_get_num_ports (plugin); ++i)
        {
            const auto* port = lilv_plugin_get_port_by_index (plugin, i);
            const std::string symbol = lilv_node_as_string (lilv_port_get_symbol (plugin, port));

            if (lilv_port_is_a (plugin, port, audioClass))
                lilv_instance_connect_port (instance, i, audio[i].data());
            else if (lilv_port_is_a (plugin, port, atomClass))
                lilv_instance_connect_port (instance, i, lilv_port_is_a (plugin, port, inputClass) ? input.data() : output.data());
            else
            {
                controls[i] = symbol == "enabled" ? 1.0f : 0.0f;
                lilv_instance_connect_port (instance, i, &controls[i]);
            }
        }

        lilv_node_free (audioClass);
        lilv_node_free (atomClass);
        lilv_node_free (inputClass);
        lv2_atom_forge_init (&forge, &urids.mapFeature);
        clearInput();
        lilv_instance_activate (instance);
    }

    ~Instance()
    {
        if (instance != nullptr)
        {
            lilv_instance_deactivate (instance);
            lilv_instance_free (instance);
        }
    }

    /** Sends a patch:Set of the parameter `property` with the next block. */
    void set (const std::string& property, float value)
    {
        lv2_atom_forge_frame_time (&forge, 0);
        LV2_Atom_Forge_Frame frame;
        lv2_atom_forge_object (&forge, &frame, 0, urids (LV2_PATCH__Set));
        lv2_atom_forge_key (&forge, urids (LV2_PATCH__property));
        lv2_atom_forge_urid (&forge, urids (property.c_str()));
        lv2_atom_forge_key (&forge, urids (LV2_PATCH__value));
        lv2_atom_forge_float (&forge, value);
        lv2_atom_forge_pop (&forge, &frame);
    }

    /** Runs one block and returns what the plug-in announced: each property
        with its value. */
    std::map<std::string, float> run()
    {
        auto* out = reinterpret_cast<LV2_Atom_Sequence*> (output.data());
        out->atom.type = urids (LV2_ATOM__Chunk);
        out->atom.size = atomCapacity - sizeof (LV2_Atom);

        lilv_instance_run (instance, blockSize);
        clearInput();

        std::map<std::string, float> announced;
        LV2_ATOM_SEQUENCE_FOREACH (out, event)
        {
            if (event->body.type != urids (LV2_ATOM__Object))
                continue;

            const auto* object = reinterpret_cast<const LV2_Atom_Object*> (&event->body);
            if (object->body.otype != urids (LV2_PATCH__Set))
                continue;

            const LV2_Atom* property = nullptr;
            const LV2_Atom* value = nullptr;
            lv2_atom_object_get (object, urids (LV2_PATCH__property), &property, urids (LV2_PATCH__value), &value, 0);

            if (property != nullptr && value != nullptr && value->type == urids (LV2_ATOM__Float))
                if (const auto* uri = Urids::unmap (&urids, reinterpret_cast<const LV2_Atom_URID*> (property)->body))
                    announced[uri] = reinterpret_cast<const LV2_Atom_Float*> (value)->body;
        }

        return announced;
    }

    LilvInstance* instance = nullptr;

private:
    void clearInput()
    {
        lv2_atom_forge_set_buffer (&forge, reinterpret_cast<uint8_t*> (input.data()), atomCapacity);
        lv2_atom_forge_sequence_head (&forge, &sequenceFrame, 0);
    }

    Urids& urids;
    std::vector<std::vector<float>> audio;
    std::vector<float> controls;
    std::vector<uint64_t> input, output; // 64-bit words keep the atoms aligned
    LV2_Atom_Forge forge {};
    LV2_Atom_Forge_Frame sequenceFrame {};
};

/** Every parameter's address, as the plug-in declares it, and a plain value
    for it. */
using Values = std::map<std::string, float>;

void expectValues (Check& check, const Values& announced, const Values& expected, const std::string& when)
{
    for (const auto& [property, value] : expected)
    {
        const auto found = announced.find (property);
        const bool ok = found != announced.end() && std::abs (found->second - value) < 1.0e-3f;
        check.expect (ok, when + ": " + property + " = " + std::to_string (value)
                              + (found == announced.end() ? " (not announced)" : " (announced " + std::to_string (found->second) + ")"));
    }
}
} // namespace

int main (int argc, char** argv)
{
    if (argc != 3)
    {
        std::fprintf (stderr, "usage: %s BUNDLE_FOLDER PLUGIN_URI\n", argv[0]);
        return 2;
    }

    const std::string folder = argv[1], pluginUri = argv[2];
    Check check;
    Urids urids;

    auto* world = lilv_world_new();
    auto* bundle = lilv_new_file_uri (world, nullptr, (folder + "/").c_str());
    lilv_world_load_bundle (world, bundle);
    auto* uri = lilv_new_uri (world, pluginUri.c_str());
    const auto* plugin = lilv_plugins_get_by_uri (lilv_world_get_all_plugins (world), uri);

    if (plugin == nullptr)
    {
        std::printf ("FAILED: no plug-in %s in %s\n0 passed, 1 failed\n", pluginUri.c_str(), folder.c_str());
        return 1;
    }

    const int32_t maxBlock = blockSize;
    const float rate = (float) sampleRate;
    const LV2_Options_Option options[] = {
        { LV2_OPTIONS_INSTANCE, 0, urids (LV2_BUF_SIZE__maxBlockLength), sizeof (int32_t), urids (LV2_ATOM__Int), &maxBlock },
        { LV2_OPTIONS_INSTANCE, 0, urids (LV2_BUF_SIZE__minBlockLength), sizeof (int32_t), urids (LV2_ATOM__Int), &maxBlock },
        { LV2_OPTIONS_INSTANCE, 0, urids ("http://lv2plug.in/ns/ext/parameters#sampleRate"), sizeof (float), urids (LV2_ATOM__Float), &rate },
        { LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr },
    };
    const LV2_Feature mapFeature { LV2_URID__map, &urids.mapFeature };
    const LV2_Feature unmapFeature { LV2_URID__unmap, &urids.unmapFeature };
    const LV2_Feature optionsFeature { LV2_OPTIONS__options, const_cast<LV2_Options_Option*> (options) };
    const LV2_Feature boundedFeature { LV2_BUF_SIZE__boundedBlockLength, nullptr };
    const LV2_Feature* features[] = { &mapFeature, &unmapFeature, &optionsFeature, &boundedFeature, nullptr };

    const auto id = [&pluginUri] (const char* name) { return pluginUri + ":" + name; };

    // The defaults, as a fresh instance must announce them.
    const Values defaults {
        { id ("Mode"), 0 }, { id ("Tone"), 75 },
        { id ("stage1_count"), 31 }, { id ("stage1_length"), 11 }, { id ("stage1_mix"), 100 },
        { id ("stage2_count"), 31 }, { id ("stage2_length"), 11 }, { id ("stage2_mix"), 0 },
        { id ("stage3_count"), 31 }, { id ("stage3_length"), 11 }, { id ("stage3_mix"), 0 },
    };

    Values changed = defaults;
    changed[id ("Tone")] = 40;
    changed[id ("Mode")] = 1;
    changed[id ("stage2_count")] = 20;
    changed[id ("stage3_mix")] = 70;

    {
        Instance first (plugin, world, urids, features);
        check.expect (first.instance != nullptr, "the plug-in instantiates");
        if (first.instance == nullptr)
            return 1;

        expectValues (check, first.run(), defaults, "after instantiation");

        // Change some values as a host would, then save the state ...
        for (const auto& [property, value] : changed)
            if (defaults.at (property) != value)
                first.set (property, value);
        first.run();

        auto* state = lilv_state_new_from_instance (plugin, first.instance, &urids.mapFeature,
                                                    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, features);
        check.expect (state != nullptr, "the state is saved");

        // ... and restore it into a fresh instance, as a host reopening the
        // session would: every value must be announced again.
        Instance second (plugin, world, urids, features);
        second.run();
        lilv_state_restore (state, second.instance, nullptr, nullptr, 0, features);
        expectValues (check, second.run(), changed, "after a state restore");
        lilv_state_free (state);
    }

    lilv_node_free (uri);
    lilv_node_free (bundle);
    lilv_world_free (world);

    std::printf ("%d passed, %d failed\n", check.passed, check.failed);
    return check.failed == 0 ? 0 : 1;
}
