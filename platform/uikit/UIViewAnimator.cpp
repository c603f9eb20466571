#include "UIViewAnimator.h"

#include <algorithm>
#include <cmath>

void UIViewAnimator::begin(const std::string& animationID, void* context) {
    Block b;
    b.animationID = animationID;
    b.context = context;
    open_.push_back(std::move(b));
}

void UIViewAnimator::setDuration(double seconds) {
    if (!open_.empty()) open_.back().duration = std::isfinite(seconds) ? std::max(seconds, 0.0) : 0.0;
}

void UIViewAnimator::setDelegate(CCObject* delegate) {
    if (!open_.empty()) open_.back().delegate = delegate;
}

void UIViewAnimator::setDidStopSelector(UIView::SEL_ANIMATION_STOP selector) {
    if (!open_.empty()) open_.back().didStop = selector;
}

bool UIViewAnimator::record(UIView* view, Property property, CGPoint from, CGPoint to) {
    if (open_.empty() || open_.back().duration <= 0) return false;
    // A newer change of the same property takes over from where the older one had got to.
    dropTrack(view, property);
    auto& tracks = open_.back().tracks;
    tracks.erase(std::remove_if(tracks.begin(), tracks.end(),
                                [&](const Track& t) { return t.view.get() == view && t.property == property; }),
                 tracks.end());
    tracks.push_back({CCPtr<UIView>(view), property, from, to});
    return true;
}

void UIViewAnimator::commit(double now) {
    if (open_.empty()) return;
    Block b = std::move(open_.back());
    open_.pop_back();
    b.start = now;
    lastNow_ = std::max(lastNow_, now);
    running_.push_back(std::move(b));
    if (running_.back().duration <= 0) step(now);
}

void UIViewAnimator::step(double now) {
    lastNow_ = now;
    std::vector<Block> done;
    for (auto it = running_.begin(); it != running_.end();) {
        if (now - it->start >= it->duration) {
            done.push_back(std::move(*it));
            it = running_.erase(it);
        } else {
            for (auto& t : it->tracks) t.view->setNeedsDisplay();
            ++it;
        }
    }
    // Finish after the list is consistent: removals and callbacks may start new animations.
    for (auto& b : done) {
        for (auto& t : b.tracks) {
            t.view->setNeedsDisplay();
            if (t.property == Removal && t.view->beingRemoved_) {
                t.view->beingRemoved_ = false;
                t.view->detachFromSuperview();
            }
        }
        if (b.delegate && b.didStop) b.didStop(b.delegate.get(), b.animationID, true, b.context);
    }
}

void UIViewAnimator::reset() {
    open_.clear();
    running_.clear();
}

void UIViewAnimator::dropTrack(const UIView* view, Property property) {
    for (auto& b : running_)
        b.tracks.erase(std::remove_if(b.tracks.begin(), b.tracks.end(),
                                      [&](const Track& t) { return t.view.get() == view && t.property == property; }),
                       b.tracks.end());
}

const UIViewAnimator::Track* UIViewAnimator::find(const UIView* view, Property property, const Block** block) const {
    for (auto& b : running_)
        for (auto& t : b.tracks)
            if (t.view.get() == view && t.property == property) {
                *block = &b;
                return &t;
            }
    return nullptr;
}

namespace {
float progress(double start, double duration, double now) {
    if (duration <= 0) return 1;
    return static_cast<float>(std::clamp((now - start) / duration, 0.0, 1.0));
}
} // namespace

float UIViewAnimator::presentationAlpha(const UIView* view, double now) const {
    const Block* b = nullptr;
    float alpha = view->alpha();
    if (const Track* t = find(view, Alpha, &b)) {
        float p = progress(b->start, b->duration, now);
        alpha = t->from.x + (t->to.x - t->from.x) * p;
    }
    // A view on its way out fades from what it shows to nothing.
    if (find(view, Removal, &b)) alpha *= 1 - progress(b->start, b->duration, now);
    return alpha;
}

CGPoint UIViewAnimator::presentationCenter(const UIView* view, double now) const {
    const Block* b = nullptr;
    if (const Track* t = find(view, Center, &b)) {
        float p = progress(b->start, b->duration, now);
        return {t->from.x + (t->to.x - t->from.x) * p, t->from.y + (t->to.y - t->from.y) * p};
    }
    return view->center();
}
