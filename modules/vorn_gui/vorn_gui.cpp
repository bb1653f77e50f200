#include "vorn_gui.h"

#include "files/vorn_FileServerManager.cpp"
#include "presets/vorn_BitShift.cpp"
#include "presets/vorn_PresetLoader.cpp"
#include "presets/vorn_PresetManager.cpp"
