#pragma once
// Measuring and drawing text into the current bitmap context (UIGraphicsPushContext), with
// word wrap and left, centre or right alignment, through Pango.
#include <string>

#include "CGGeometry.h"

class CGContext;
class UIFont;
class ZFont;

enum UILineBreakMode { UILineBreakModeWordWrap = 0, UILineBreakModeCharacterWrap = 1, UILineBreakModeClip = 2 };
enum UITextAlignment { UITextAlignmentLeft = 0, UITextAlignmentCenter = 1, UITextAlignmentRight = 2 };

// The context that drawing goes to, per thread; push and pop nest.
void UIGraphicsPushContext(CGContext* context);
void UIGraphicsPopContext();
CGContext* UIGraphicsGetCurrentContext();

// Size of the text on one line (explicit line breaks still break), rounded up to pixels.
CGSize sizeWithFont(const std::string& text, const UIFont* font);
CGSize sizeWithZFont(const std::string& text, const ZFont* font);
// Draws in the rectangle (y down from its top), clipped to it, with the context's fill
// colour; gives the size used. Nothing is drawn without a current context or font.
CGSize drawInRect(const std::string& text, CGRect rect, const UIFont* font, UILineBreakMode mode,
                  UITextAlignment alignment);
CGSize drawInRect(const std::string& text, CGRect rect, const ZFont* font, UILineBreakMode mode,
                  UITextAlignment alignment);
