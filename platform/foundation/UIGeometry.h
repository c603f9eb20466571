#pragma once
// Text forms of points, sizes and rectangles: "{x, y}", "{w, h}" and "{{x, y}, {w, h}}".
// Reading takes the numbers in order; missing or unreadable ones are 0.
#include <string>

#include "CGGeometry.h"

CGPoint CGPointFromString(const std::string& text);
CGSize CGSizeFromString(const std::string& text);
CGRect CGRectFromString(const std::string& text);
std::string NSStringFromCGPoint(CGPoint point);
std::string NSStringFromCGSize(CGSize size);
std::string NSStringFromCGRect(const CGRect& rect);
