// The Control base on a real host: ids, z-order, visibility, active,
// bindEvent, bounds, removal and what the host's positions do meanwhile.
#include "host_fixture.h"

using namespace zelvo;
using namespace zelvo::test;

namespace {

class Controls : public HostFixture {
 protected:
  void SetUp() override { attachHost({.colour = 0x808080, .style = 479}); }
  // The host's own controls (six caption buttons and the icon) come first.
  int base() { return 7; }
};

}  // namespace

TEST_F(Controls, IdsAreReusedSmallestFirstAndNewControlsGoOnTop) {
  TestControl a, b, c, d;
  // Ids 1..7 are the caption buttons and the icon.
  EXPECT_EQ(a.create(hwnd, {20, 40, 30, 30}), 8);
  EXPECT_EQ(b.create(hwnd, {60, 40, 30, 30}), 9);
  EXPECT_EQ(c.create(hwnd, {100, 40, 30, 30}), 10);
  EXPECT_EQ(b.destroy(), 1);
  EXPECT_FALSE(b.isCreated());
  EXPECT_EQ(b.controlId(), 0);
  EXPECT_EQ(d.create(hwnd, {140, 40, 30, 30}), 9);
  EXPECT_EQ(position(d), base() + 3);  // appended on top
  EXPECT_EQ(position(c), base() + 2);
  // A created control is not created twice.
  EXPECT_EQ(d.create(hwnd, {0, 0, 1, 1}), 9);
  EXPECT_EQ(record().controlCount(), base() + 3);
  // A destroyed control can be created again.
  EXPECT_EQ(b.create(hwnd, {60, 40, 30, 30}), 11);
}

TEST_F(Controls, ZOrderKeepsCaptionButtonsLowest) {
  TestControl a, b, c;
  a.create(hwnd, {20, 40, 30, 30});
  b.create(hwnd, {60, 40, 30, 30});
  c.create(hwnd, {100, 40, 30, 30});
  c.setZOrder(1);
  EXPECT_EQ(position(c), 7);  // directly above the six caption buttons
  EXPECT_EQ(record().controls[5].kind, kKindCaptionButton);
  EXPECT_EQ(position(a), base() + 2);  // the icon moved up with the others
  c.setZOrder(2);
  EXPECT_EQ(position(c), base() + 3);
}

TEST_F(Controls, FocusFollowsTheControlThroughZOrderAndRemoval) {
  TestControl a, b, c, d;
  a.create(hwnd, {20, 40, 30, 30});
  b.create(hwnd, {60, 40, 30, 30});
  c.create(hwnd, {100, 40, 30, 30});
  d.create(hwnd, {140, 40, 30, 30});
  ASSERT_EQ(host->setFocusTo(d.controlId()), position(d));
  EXPECT_TRUE(d.hasFocus());
  b.destroy();  // below the focused control
  EXPECT_EQ(host->focusedPosition(), position(d));
  EXPECT_TRUE(d.hasFocus());
  d.setZOrder(1);
  EXPECT_TRUE(d.hasFocus());
  EXPECT_EQ(host->focusedPosition(), position(d));
  d.destroy();  // the focused control itself
  EXPECT_EQ(host->focusedPosition(), 0);
  EXPECT_FALSE(a.hasFocus());
}

TEST_F(Controls, RemovalAdjustsHoverAndPressedPositions) {
  TestControl a, b, c;
  a.create(hwnd, {20, 40, 30, 30});
  b.create(hwnd, {60, 40, 30, 30});
  c.create(hwnd, {100, 40, 30, 30});
  send(WM_MOUSEMOVE, 0, point(110, 50));
  EXPECT_EQ(host->hoveredPosition(), position(c));
  send(WM_LBUTTONDOWN, MK_LBUTTON, point(110, 50));
  EXPECT_TRUE(host->pressed());
  EXPECT_EQ(host->pressedPosition(), position(c));
  EXPECT_EQ(GetCapture(), hwnd);
  a.destroy();
  // Removing any control ends a press and releases the capture.
  EXPECT_FALSE(host->pressed());
  EXPECT_EQ(host->pressedPosition(), 0);
  EXPECT_NE(GetCapture(), hwnd);
  EXPECT_EQ(host->hoveredPosition(), position(c));
  EXPECT_EQ(host->focusedPosition(), position(c));
  c.destroy();
  EXPECT_EQ(host->hoveredPosition(), 0);
  EXPECT_EQ(host->focusedPosition(), 0);
  // Removal delivers destroy.
  TestControl e;
  e.create(hwnd, {20, 40, 30, 30});
  e.destroy();
  EXPECT_EQ(e.count(kMsgDestroy), 1);
}

TEST_F(Controls, VisibilityMessages) {
  TestControl a;
  a.create(hwnd, {20, 40, 30, 30}, /*visible=*/0);
  EXPECT_EQ(a.visible(), 0);
  EXPECT_EQ(a.visible(0), 0);  // already hidden: nothing happens
  EXPECT_TRUE(a.seen.empty());
  // Hidden controls get no messages, but the shown notification is forced.
  a.redraw();
  EXPECT_TRUE(a.seen.empty());
  EXPECT_EQ(a.visible(1), 1);
  ASSERT_GE(a.seen.size(), 2u);
  EXPECT_EQ(a.seen[0].message, kMsgShown);
  EXPECT_EQ(a.seen[1].message, kMsgPaint);
  a.seen.clear();
  EXPECT_EQ(a.visible(0), 0);
  EXPECT_EQ(a.count(kMsgHidden), 1);
  EXPECT_EQ(a.count(kMsgPaint), 0);
  // Hidden records are not hit.
  send(WM_LBUTTONDOWN, MK_LBUTTON, point(30, 50));
  EXPECT_EQ(a.count(WM_LBUTTONDOWN), 0);
}

TEST_F(Controls, InactiveControlsGetNothing) {
  TestControl a, b;
  a.create(hwnd, {20, 40, 30, 30});
  b.create(hwnd, {30, 50, 30, 30});
  a.deactivate();
  a.redraw();
  b.redraw();               // a neighbour's repaint
  host->setBackground();    // a full render
  send(WM_LBUTTONDOWN, MK_LBUTTON, point(22, 42));
  send(WM_LBUTTONUP, 0, point(22, 42));
  EXPECT_TRUE(a.seen.empty());
  EXPECT_EQ(a.active(), 0);
  a.activate();
  a.redraw();
  EXPECT_EQ(a.count(kMsgPaint), 1);
}

TEST_F(Controls, BindEventKeepsOnePairPerMessage) {
  TestControl a;
  a.create(hwnd, {20, 40, 30, 30});
  std::vector<std::string> calls;
  a.bindEvent(WM_LBUTTONDOWN, [&](int, int, WPARAM, LPARAM, int) { calls.push_back("first"); });
  a.bindEvent(WM_LBUTTONDOWN, [&](int, int, WPARAM, LPARAM, int) { calls.push_back("second"); });
  int seenPosition = 0;
  LPARAM seenL = 0;
  a.bindEvent(WM_LBUTTONUP, [&](int, int p, WPARAM, LPARAM l, int) {
    seenPosition = p;
    seenL = l;
  });
  send(WM_LBUTTONDOWN, MK_LBUTTON, point(25, 45));
  send(WM_LBUTTONUP, 0, point(25, 45));
  EXPECT_EQ(calls, std::vector<std::string>{"second"});
  EXPECT_EQ(seenPosition, position(a));
  EXPECT_EQ(seenL, point(25, 45));
}

TEST_F(Controls, BoundsProperties) {
  TestControl a, lower;
  lower.create(hwnd, {10, 30, 100, 100});
  a.create(hwnd, {20, 40, 30, 30});
  a.setBounds(12.7f, std::nullopt, -5.0f, std::nullopt);
  EXPECT_EQ(a.bounds(), (RectF{12.7f, 40, 0, 30}));
  EXPECT_EQ(a.left(), 12);
  EXPECT_EQ(record().controls[position(a) - 1].rect, a.bounds());
  lower.seen.clear();
  a.seen.clear();
  a.setBounds(50, 60, 20, 20);
  // The old area is repainted (the lower control under it), then the
  // control paints at its new place, over the lower control again.
  EXPECT_EQ(lower.count(kMsgPaint), 2);
  EXPECT_EQ(a.count(kMsgPaint), 1);
  EXPECT_EQ(a.seen.back().direct, 1);
  a.seen.clear();
  a.setBounds(60, std::nullopt, std::nullopt, std::nullopt, false);
  EXPECT_TRUE(a.seen.empty());
  EXPECT_EQ(a.left(60.5f), 60);
  EXPECT_EQ(a.width(), 20);
  EXPECT_EQ(a.height(7), 7);
  EXPECT_EQ(a.top(), 60);
}

TEST_F(Controls, PropertiesWithoutSideEffects) {
  TestControl a;
  a.create(hwnd, {20, 40, 30, 30}, 1, 0);
  EXPECT_EQ(a.focusable(), 0);
  EXPECT_EQ(a.focusable(1), 1);
  EXPECT_EQ(a.cursor(), 32512);
  EXPECT_EQ(a.cursor(32649), 32649);
  EXPECT_EQ(a.tag("录音"), "录音");
  EXPECT_EQ(a.tooltip("提示"), "提示");
  const std::int32_t value = 123456;
  EXPECT_EQ(a.readAddress(&value), 123456);
  EXPECT_EQ(a.readAddress(nullptr), 0);
  EXPECT_TRUE(std::holds_alternative<Control::HandleMessageEntry>(a.methodAddress(1)));
  EXPECT_TRUE(std::holds_alternative<Control::ShowTooltipEntry>(a.methodAddress(0)));
  a.seen.clear();
  a.disabled(1);
  EXPECT_EQ(a.count(kMsgPaint), 1);  // setting disabled redraws
  a.showTooltip("提示");
  EXPECT_TRUE(a.tooltipRegistered());
  a.destroy();
  EXPECT_FALSE(a.tooltipRegistered());
}
