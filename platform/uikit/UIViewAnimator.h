#pragma once
// The running view animations and the block being recorded. The application owns one and
// steps it from its clock once per run-loop pass.
#include <string>
#include <vector>

#include "CCPtr.h"
#include "UIView.h"

class UIViewAnimator {
public:
    enum Property { Alpha, Center, Removal };

    void begin(const std::string& animationID, void* context);
    void setDuration(double seconds);
    void setDelegate(CCObject* delegate);
    void setDidStopSelector(UIView::SEL_ANIMATION_STOP selector);
    // Starts the recorded changes at `now`; a block with no changes still reports its end.
    void commit(double now);
    bool isRecording() const { return !open_.empty(); }
    // Records a change of the open block; false when no block is open or it has no duration
    // (the caller then applies the change at once).
    bool record(UIView* view, Property property, CGPoint from, CGPoint to);

    // Advances every animation to `now`; finished ones apply their removals and report.
    void step(double now);
    bool isAnimating() const { return !running_.empty(); }
    // Drops everything without reporting (application teardown).
    void reset();

    float presentationAlpha(const UIView* view, double now) const;
    CGPoint presentationCenter(const UIView* view, double now) const;

private:
    struct Track {
        CCPtr<UIView> view; // animated views stay alive until their animation ends
        Property property;
        CGPoint from, to;
    };
    struct Block {
        std::string animationID;
        void* context = nullptr;
        double duration = 0.2;
        double start = 0;
        CCPtr<CCObject> delegate;
        UIView::SEL_ANIMATION_STOP didStop;
        std::vector<Track> tracks;
    };
    const Track* find(const UIView* view, Property property, const Block** block) const;
    void dropTrack(const UIView* view, Property property);

    std::vector<Block> open_;
    std::vector<Block> running_;
    double lastNow_ = 0;
};
