#include "vorn_gui.h"

#include "presets/vorn_BitShift.cpp"
#include "presets/vorn_PresetLoader.cpp"
