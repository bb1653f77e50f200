/*******************************************************************************
 BEGIN_JUCE_MODULE_DECLARATION

  ID:                 vorn_dsp
  vendor:             Quillmark
  version:            1.1.3
  name:               Palimpsester DSP
  description:        Block-processing frame, smoothed arguments, delay memory,
                      filters and the segment-mirroring stages of Palimpsester.
  license:            Proprietary
  minimumCppStandard: 17

  dependencies:       juce_audio_basics, juce_dsp

 END_JUCE_MODULE_DECLARATION
*******************************************************************************/

#pragma once
#define VORN_DSP_H_INCLUDED

#include <juce_audio_basics/juce_audio_basics.h>
#include <juce_dsp/juce_dsp.h>

#include <atomic>
#include <iomanip>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

#include "processor/vorn_Processor.h"
#include "processor/vorn_FixedBlockFifo.h"
#include "arguments/vorn_BusyFlag.h"
#include "arguments/vorn_Arguments.h"
#include "memory/vorn_CircularBuffer.h"
#include "memory/vorn_LagrangeInterpolator.h"
#include "filters/vorn_IIRFilter.h"
#include "stage/vorn_CubicSse.h"
#include "stage/vorn_SegmentKernelsAvx.h"
#include "stage/vorn_SegmentKernels.h"
#include "stage/vorn_PalimpsesterStage.h"
#include "multistage/vorn_PalimpsesterMultistage.h"
