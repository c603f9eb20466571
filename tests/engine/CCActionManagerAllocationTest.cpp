// A pass of the action manager allocates nothing unless an action adds actions. Counted
// through the sanitizer runtime's allocation hooks (the test builds run under ASan).
#include <gtest/gtest.h>

#include "CCActionEase.h"
#include "CCIntervalActions.h"
#include "support/ActionTestSupport.h"
#include "support/AllocationHooks.h"

namespace {

using ManagerAllocation = ActionTest;

TEST_F(ManagerAllocation, APassAllocatesNothing) {
    if (!installAllocationHooks()) GTEST_SKIP() << "no sanitizer allocation hooks in this build";
    for (int i = 0; i < 50; ++i) {
        CCNode* node = runningNode();
        node->runAction(CCMoveBy::actionWithDuration(10, CGPointMake(5, 5)));
        node->runAction(CCRepeatForever::actionWithAction(CCSequence::actionOne(
            CCEaseSineInOut::actionWithAction(CCRotateBy::actionWithDuration(0.05f, 90)),
            CCDelayTime::actionWithDuration(0.02f))));
        if (i % 5 == 0) node->runAction(CCScaleTo::actionWithDuration(0.05f, 2)); // finishes in the window
    }
    tick(1.0f / 60);
    EXPECT_EQ(allocationsOf([&] {
                  for (int i = 0; i < 10; ++i) tick(1.0f / 60);
              }),
              0);
}

} // namespace
