#include "vorn_gui.h"

#include "text/vorn_NumberText.cpp"
#include "lookandfeel/vorn_LookAndFeel.cpp"
#include "widgets/vorn_BasicWidgets.cpp"
#include "widgets/vorn_Links.cpp"
#include "suites/vorn_LabeledSuite.cpp"
#include "suites/vorn_LabeledSuiteGrid.cpp"
#include "hints/vorn_TipDisplayComponent.cpp"

#include "files/vorn_FileServerManager.cpp"
#include "presets/vorn_BitShift.cpp"
#include "presets/vorn_PresetLoader.cpp"
#include "presets/vorn_PresetManager.cpp"
