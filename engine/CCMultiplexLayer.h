#pragma once
// A layer that shows one of several layers at a time, as its only child.
#include <initializer_list>
#include <vector>

#include "CCLayer.h"

class CCMultiplexLayer : public CCLayer {
public:
    // Shows the first layer; nullptr when the list is empty or holds a nil layer.
    static CCMultiplexLayer* layerWithLayers(std::initializer_list<CCLayer*> layers);
    bool initWithLayers(std::initializer_list<CCLayer*> layers);

    // Replaces the shown layer (removed with cleanup) by the one at `index`; an index at or
    // beyond the number of layers fails with "Invalid index in MultiplexLayer switchTo message".
    void switchTo(unsigned index);
    // The same, and lets go of the layer that was shown: its slot stays empty.
    void switchToAndReleaseMe(unsigned index);

    unsigned enabledLayer() const { return enabledLayer_; }
    unsigned layerCount() const { return static_cast<unsigned>(layers_.size()); }
    // The layer at `index`, or nullptr once released.
    CCLayer* layerAtIndex(unsigned index) const { return index < layers_.size() ? layers_[index].get() : nullptr; }

private:
    void show(unsigned index);

    unsigned enabledLayer_ = 0;
    std::vector<CCPtr<CCLayer>> layers_;
};
