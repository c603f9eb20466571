#include "ccMacros.h"

float ccContentScaleFactor = 1.0f;
