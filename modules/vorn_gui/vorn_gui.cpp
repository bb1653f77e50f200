#include "vorn_gui.h"
