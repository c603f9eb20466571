#pragma once
// The fontconfig configuration and Pango font map that all text drawing uses (internal).
#include <fontconfig/fontconfig.h>
#include <pango/pango.h>

#include <mutex>

// Both are created on first use, with the resource folder's fonts.conf loaded.
FcConfig* ccFontConfig();
PangoFontMap* ccFontMap();
// Pango and fontconfig calls go through this lock.
std::mutex& ccFontLock();
