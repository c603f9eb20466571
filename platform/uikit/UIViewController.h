#pragma once
// Owns a view (retained) and answers the orientation question.
#include "CCObject.h"
#include "CCPtr.h"

class UIView;

class UIViewController : public CCObject {
public:
    UIViewController();
    ~UIViewController() override;
    virtual bool init() { return true; }
    UIView* view() const { return view_; }
    void setView(UIView* view) { view_ = view; }
    // A plain controller keeps the portrait interface.
    virtual bool shouldAutorotateToInterfaceOrientation(int orientation) const { return orientation == 1; }

private:
    CCPtr<UIView> view_;
};
