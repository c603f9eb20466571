#include "CCMultiplexLayer.h"

#include "CCAssert.h"

CCMultiplexLayer* CCMultiplexLayer::layerWithLayers(std::initializer_list<CCLayer*> layers) {
    return ccCreate<CCMultiplexLayer>([&](CCMultiplexLayer* m) { return m->initWithLayers(layers); });
}

bool CCMultiplexLayer::initWithLayers(std::initializer_list<CCLayer*> layers) {
    if (layers.size() == 0) return false;
    for (CCLayer* layer : layers)
        if (!layer) return false;
    if (!CCLayer::init()) return false;
    layers_.assign(layers.begin(), layers.end());
    enabledLayer_ = 0;
    addChild(layers_[0]);
    return true;
}

void CCMultiplexLayer::show(unsigned index) {
    enabledLayer_ = index;
    // A released slot shows nothing.
    if (CCLayer* layer = layers_[index].get()) addChild(layer);
}

void CCMultiplexLayer::switchTo(unsigned index) {
    CCAssert(index < layers_.size(), "Invalid index in MultiplexLayer switchTo message");
    if (CCLayer* current = layers_[enabledLayer_].get()) removeChild(current, true);
    show(index);
}

void CCMultiplexLayer::switchToAndReleaseMe(unsigned index) {
    CCAssert(index < layers_.size(), "Invalid index in MultiplexLayer switchTo message");
    if (CCLayer* current = layers_[enabledLayer_].get()) removeChild(current, true);
    layers_[enabledLayer_] = nullptr;
    show(index);
}
