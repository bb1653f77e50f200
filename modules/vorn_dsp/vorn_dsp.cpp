#include "vorn_dsp.h"
