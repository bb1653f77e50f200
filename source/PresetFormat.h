#pragma once

/** Preset files are state documents shifted left by this many bits; every
    reader and writer, the factory presets' generator included, uses it. */
constexpr int presetBitShift = 5;

/** The word preset file suffixes are made from: ".pl11", ".pl11_pack". */
constexpr auto presetFormatName = "Pl11";
