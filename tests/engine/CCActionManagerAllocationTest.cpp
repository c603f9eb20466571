// A pass of the action manager allocates nothing unless an action adds actions. Counted
// through the sanitizer runtime's allocation hooks (the test builds run under ASan).
#include <gtest/gtest.h>

#include <atomic>
#include <cstddef>

#include "CCActionEase.h"
#include "CCIntervalActions.h"
#include "support/ActionTestSupport.h"

extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*malloc_hook)(const volatile void*, std::size_t),
                                                         void (*free_hook)(const volatile void*))
    __attribute__((weak));

namespace {

std::atomic<bool> counting{false};
std::atomic<long> allocations{0};

void onMalloc(const volatile void*, std::size_t) {
    if (counting.load(std::memory_order_relaxed)) allocations.fetch_add(1, std::memory_order_relaxed);
}
void onFree(const volatile void*) {}

bool installHooks() {
    static const bool installed =
        __sanitizer_install_malloc_and_free_hooks && __sanitizer_install_malloc_and_free_hooks(onMalloc, onFree) != 0;
    return installed;
}

using ManagerAllocation = ActionTest;

TEST_F(ManagerAllocation, APassAllocatesNothing) {
    if (!installHooks()) GTEST_SKIP() << "no sanitizer allocation hooks in this build";
    for (int i = 0; i < 50; ++i) {
        CCNode* node = runningNode();
        node->runAction(CCMoveBy::actionWithDuration(10, CGPointMake(5, 5)));
        node->runAction(CCRepeatForever::actionWithAction(CCSequence::actionOne(
            CCEaseSineInOut::actionWithAction(CCRotateBy::actionWithDuration(0.05f, 90)),
            CCDelayTime::actionWithDuration(0.02f))));
        if (i % 5 == 0) node->runAction(CCScaleTo::actionWithDuration(0.05f, 2)); // finishes in the window
    }
    tick(1.0f / 60);
    allocations = 0;
    counting = true;
    for (int i = 0; i < 10; ++i) tick(1.0f / 60);
    counting = false;
    EXPECT_EQ(allocations.load(), 0);
}

} // namespace
