#pragma once
// A view that draws a text in a font and colour, aligned within its bounds and centred
// vertically. One line unless numberOfLines is 0 (any number, wrapped at words) or above 1.
#include <memory>
#include <string>

#include "NSStringDrawing.h" // UITextAlignment
#include "UIView.h"

class UIColor;
class UIFont;

class UILabel : public UIView {
public:
    UILabel();
    static UILabel* labelWithFrame(CGRect frame);
    ~UILabel() override;

    const std::string& text() const { return text_; }
    void setText(const std::string& text);
    // Never nil: the system font at 17 points unless set.
    UIFont* font() const { return font_; }
    void setFont(UIFont* font);
    UIColor* textColor() const { return textColor_; }
    void setTextColor(UIColor* color);
    int textAlignment() const { return textAlignment_; }
    void setTextAlignment(int alignment);
    int numberOfLines() const { return numberOfLines_; }
    void setNumberOfLines(int lines);

    // The size the text takes when wrapped to `width` (width ≤ 0: unwrapped).
    CGSize sizeThatFits(float width) const;

protected:
    void drawInContext(cairo_t* cr, CGRect bounds) override;

private:
    // Shaping the text is most of a label's drawing: the text laid out for the last drawing,
    // kept until the text, font, alignment, lines or width change.
    struct LaidOut;
    std::unique_ptr<LaidOut> laidOut_;

    std::string text_;
    CCPtr<UIFont> font_;
    CCPtr<UIColor> textColor_;
    int textAlignment_ = UITextAlignmentLeft;
    int numberOfLines_ = 1;
};
