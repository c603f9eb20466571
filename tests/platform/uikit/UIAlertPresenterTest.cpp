#include <gtest/gtest.h>

#include "CCAutoreleasePool.h"
#include "UIAlertPresenter.h"
#include "UIAlertView.h"
#include "UIApplication.h"

namespace {

class UIAlertPresenterTest : public ::testing::Test {
protected:
    void SetUp() override { CCAutoreleasePool::push(); }
    void TearDown() override {
        presenter.clear();
        UIApplication::purgeSharedApplication();
        CCAutoreleasePool::pop();
    }
    static UIAlertView* alert(const char* title) {
        return ccCreate<UIAlertView>([&](UIAlertView* a) { return a->initWithTitle(title, "", nullptr, "OK", {}); });
    }
    UIAlertPresenter presenter;
};

TEST_F(UIAlertPresenterTest, AlertsWaitTheirTurnOnTheBackdrop) {
    EXPECT_EQ(presenter.visibleAlertView(), nullptr);
    UIAlertView* first = alert("first");
    UIAlertView* second = alert("second");
    EXPECT_TRUE(presenter.present(first));
    EXPECT_TRUE(presenter.present(second));
    EXPECT_FALSE(presenter.present(first)); // already queued
    ASSERT_EQ(presenter.alerts().size(), 2u);
    EXPECT_EQ(presenter.visibleAlertView(), first);
    EXPECT_EQ(first->superview(), presenter.backdrop());
    EXPECT_EQ(second->superview(), nullptr);

    EXPECT_TRUE(presenter.remove(first));
    EXPECT_FALSE(presenter.remove(first));
    EXPECT_EQ(first->superview(), nullptr);
    EXPECT_EQ(presenter.visibleAlertView(), second);
    EXPECT_EQ(second->superview(), presenter.backdrop());
    EXPECT_GT(second->bounds().size.height, 0); // laid out before it shows
    EXPECT_TRUE(presenter.remove(second));
    EXPECT_TRUE(presenter.backdrop()->subviews().empty());
}

TEST_F(UIAlertPresenterTest, RemovingAQueuedAlertLeavesTheOneOnScreen) {
    UIAlertView* shown = alert("shown");
    UIAlertView* queued = alert("queued");
    presenter.present(shown);
    presenter.present(queued);
    EXPECT_TRUE(presenter.remove(queued));
    EXPECT_EQ(presenter.visibleAlertView(), shown);
    EXPECT_EQ(shown->superview(), presenter.backdrop());
    ASSERT_EQ(presenter.alerts().size(), 1u);
}

TEST_F(UIAlertPresenterTest, TheBackdropCoversTheScreenAndAsksForDrawingOnlyWithAnAlert) {
    CGRect f = presenter.backdrop()->frame();
    EXPECT_EQ(f.size.width, 320);
    EXPECT_EQ(f.size.height, 480);
    EXPECT_FALSE(presenter.needsDisplay()); // dirty, but nothing on it is shown
    presenter.present(alert("a"));
    EXPECT_TRUE(presenter.needsDisplay());
    presenter.clearNeedsDisplay();
    EXPECT_FALSE(presenter.needsDisplay());
}

} // namespace
