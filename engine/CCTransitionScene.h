#pragma once
// A temporary scene the director runs between two scenes: it draws the outgoing and the
// incoming scene for its duration, then hands the director over to the incoming one. Touch
// dispatching is off from its creation until the hand-over.
#include "CCPtr.h"
#include "CCScene.h"

class CCTransitionScene : public CCScene {
public:
    static CCTransitionScene* transitionWithDuration(ccTime duration, CCScene* scene);
    virtual bool initWithDuration(ccTime duration, CCScene* scene);
    ~CCTransitionScene() override;

    // Which scene is drawn last; the base draws the incoming scene on top.
    virtual void sceneOrder();
    void draw() override;
    void onEnter() override;
    void onExit() override;
    void cleanup() override;

    // Shows the incoming scene and hides the outgoing one.
    void hideOutShowIn();
    // Resets both scenes and schedules the hand-over for the next tick.
    void finish();
    // The hand-over: the director replaces this transition by the incoming scene.
    void setNewScene(ccTime dt);

    CCScene* inScene() const { return inScene_; }
    CCScene* outScene() const { return outScene_; }
    ccTime duration() const { return duration_; }

protected:
    CCPtr<CCScene> inScene_;
    CCPtr<CCScene> outScene_;
    ccTime duration_ = 0;
    bool inSceneOnTop_ = true;
    bool sendCleanupToScene_ = false;
};
