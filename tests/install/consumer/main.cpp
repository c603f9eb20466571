// A ten-line game against the installed engine: a node turned by an action.
#include <cstdio>

#include "CCAutoreleasePool.h"
#include "CCIntervalActions.h"
#include "CCScene.h"

int main() {
    CCAutoreleaseScope pool;
    CCScene* scene = CCScene::node();
    CCNode* spinner = CCNode::node();
    scene->addChild(spinner);
    CCRotateBy* turn = CCRotateBy::actionWithDuration(2, 90);
    turn->startWithTarget(spinner);
    turn->update(1);
    std::printf("spinner: %u child, rotation %g\n", scene->children()->count(), spinner->rotation());
    return 0;
}
