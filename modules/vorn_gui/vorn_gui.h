/*******************************************************************************
 BEGIN_JUCE_MODULE_DECLARATION

  ID:                 vorn_gui
  vendor:             Quillmark
  version:            1.1.3
  name:               Palimpsester widgets and presets
  description:        Look and feel, labeled controls, hint display, preset
                      library and data folder of Palimpsester.
  license:            Proprietary
  minimumCppStandard: 17

  dependencies:       juce_gui_basics, juce_audio_processors

 END_JUCE_MODULE_DECLARATION
*******************************************************************************/

#pragma once
#define VORN_GUI_H_INCLUDED

#include <juce_gui_basics/juce_gui_basics.h>
#include <juce_audio_processors/juce_audio_processors.h>

#include <atomic>
#include <charconv>
#include <functional>
#include <map>
#include <optional>
#include <random>

#include "text/vorn_NumberText.h"
#include "interfaces/vorn_Updaters.h"
#include "lookandfeel/vorn_LookAndFeel.h"
#include "widgets/vorn_BasicWidgets.h"
#include "widgets/vorn_Links.h"
#include "suites/vorn_LabeledSuite.h"
#include "suites/vorn_LabeledSuiteGrid.h"
#include "hints/vorn_TipDisplayComponent.h"
#include "files/vorn_FileServerManager.h"
#include "presets/vorn_BitShift.h"
#include "presets/vorn_PresetManager.h"
#include "presets/vorn_PresetLoader.h"
#include "presets/vorn_PresetPacks.h"
#include "presets/vorn_PresetComponent.h"
