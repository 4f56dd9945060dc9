// The painting pipeline, checked on the canvas and layer bits and on the
// screen: solid colour, a skin in its own size fading into the colour, a
// stretched skin, a translucent layered window with shadow and rounded
// frame, the maximised frame, and flat handle and memory counts over many
// renders and repaints.
#include "host_fixture.h"

#include <psapi.h>

using namespace zelvo;
using namespace zelvo::test;

namespace {

class Paint : public HostFixture {
 protected:
  Bgra canvas(int x, int y) { return split(record().canvas.pixel(x, y)); }
  Bgra layer(int x, int y) { return split(record().layer.pixel(x, y)); }
};

constexpr ColorRef kBlue = 0xFF0000;  // COLORREF: blue in the high byte

// Colour of a screen pixel; a plain BitBlt from the screen DC.
COLORREF screenPixel(int x, int y) {
  HDC screen = GetDC(nullptr);
  const COLORREF c = GetPixel(screen, x, y);
  ReleaseDC(nullptr, screen);
  return c;
}

}  // namespace

TEST_F(Paint, SolidColourWindow) {
  attachHost({.colour = 0x3060C0, .style = 0});
  const Bgra inside = canvas(300, 200);
  EXPECT_TRUE(closeTo(inside.r, 0xC0, 2) && closeTo(inside.g, 0x60, 2) && closeTo(inside.b, 0x30, 2));
  // The frame's dark outline lies on the frame rectangle's edge.
  const Bgra frame = canvas(5, 200);
  EXPECT_LT(frame.r, inside.r);
  // On the screen as well.
  RECT rect{};
  GetWindowRect(hwnd, &rect);
  EXPECT_TRUE(pumpUntil([&] {
    const COLORREF c = screenPixel(rect.left + 300, rect.top + 200);
    return closeTo(GetRValue(c), 0xC0, 2) && closeTo(GetGValue(c), 0x60, 2) && closeTo(GetBValue(c), 0x30, 2);
  }))
      << std::hex << screenPixel(rect.left + 300, rect.top + 200);
  // The window region cuts the margin off a plain window.
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(hwnd, region), ERROR);
  EXPECT_FALSE(PtInRegion(region, 2, 200));
  EXPECT_TRUE(PtInRegion(region, 6, 200));
  DeleteObject(region);
}

TEST_F(Paint, SkinInItsOwnSizeBlendsIntoTheColour) {
  startToolkit();
  const std::string skin = solidPicture(300, 200, argb(255, 255, 0, 0));
  attachHost({.skinBytes = skin, .colour = kBlue, .style = 0});
  // A full render without a colour takes the skin's own (at 85 %), so the
  // colour is chosen afterwards, as the palette does.
  EXPECT_EQ(host->backgroundColour(), ColorRef{0x0000FF});
  host->setBackground(std::nullopt, kBlue);
  // Away from the bands: the skin itself; beside it: the colour.
  EXPECT_GT(canvas(50, 50).r, 240);
  EXPECT_LT(canvas(50, 50).b, 10);
  EXPECT_GT(canvas(400, 300).b, 240);
  EXPECT_LT(canvas(400, 300).r, 10);
  // Bottom band (100 high from y = 106) and right band (100 wide from
  // x = 206): red fades into blue towards the edge.
  const Bgra top = canvas(50, 110), middle = canvas(50, 155), bottom = canvas(50, 202);
  EXPECT_GT(top.r, middle.r);
  EXPECT_GT(middle.r, bottom.r);
  EXPECT_LT(top.b, middle.b);
  EXPECT_GT(middle.r, 60);
  EXPECT_GT(middle.b, 60);
  EXPECT_GT(bottom.b, 220);
  EXPECT_GT(canvas(150, 50).r, 240);
  EXPECT_GT(canvas(302, 50).b, 220);
  EXPECT_GT(canvas(255, 50).r, 60);
  EXPECT_GT(canvas(255, 50).b, 60);
  // Blending off: a hard edge.
  host.reset();
  DestroyWindow(hwnd);
  attachHost({.skinBytes = skin, .colour = kBlue, .style = 0, .blendEdges = 0});
  host->setBackground(std::nullopt, kBlue);
  EXPECT_GT(canvas(50, 202).r, 240);
  EXPECT_GT(canvas(302, 50).r, 240);
  EXPECT_GT(canvas(50, 207).b, 240);
}

TEST_F(Paint, StretchedSkinFillsTheFrame) {
  startToolkit();
  const std::string skin = encodePicture(100, 50, [](int x, int) { return x < 50 ? argb(255, 255, 0, 0) : argb(255, 0, 255, 0); });
  attachHost({.skinBytes = skin, .colour = kBlue, .style = 0, .stretch = 1});
  host->setBackground(std::nullopt, kBlue);
  EXPECT_GT(canvas(100, 400).r, 240);
  EXPECT_LT(canvas(100, 400).g, 10);
  EXPECT_GT(canvas(600, 400).g, 240);
  EXPECT_LT(canvas(600, 400).r, 10);
  // No colour given: it is the skin's pixel at 85 % (the green half).
  host.reset();
  DestroyWindow(hwnd);
  attachHost({.skinBytes = skin, .style = 0, .stretch = 1});
  EXPECT_EQ(host->backgroundColour(), ColorRef{0x00FF00});
}

TEST_F(Paint, LayeredWindowAtHalfOpacityWithShadowAndRoundedFrame) {
  attachHost({.colour = 0xFFFFFF, .style = 479, .alpha = 127});
  // Inside: white at alpha about 127 (stored premultiplied).
  const Bgra inside = layer(300, 200);
  EXPECT_TRUE(closeTo(inside.a, 127, 3)) << inside.a;
  EXPECT_TRUE(closeTo(inside.r, 127, 3)) << inside.r;
  // The shadow: translucent black rings outside the frame, fading outwards.
  const Bgra ring1 = layer(4, 200), ring3 = layer(2, 200), outside = layer(0, 200);
  EXPECT_GT(ring1.a, 20);
  EXPECT_LT(ring1.a, 127);
  EXPECT_LT(ring1.r, 40);
  EXPECT_GT(ring1.a, ring3.a);
  EXPECT_LE(outside.a, ring3.a);
  // Rounded: the frame's corner pixel is more transparent than the edge.
  EXPECT_LT(layer(5, 5).a, layer(5, 200).a);
  // And the screen shows the window blended over the black root window.
  RECT rect{};
  GetWindowRect(hwnd, &rect);
  EXPECT_TRUE(pumpUntil([&] {
    const COLORREF c = screenPixel(rect.left + 300, rect.top + 200);
    return closeTo(GetRValue(c), 127, 8) && closeTo(GetBValue(c), 127, 8);
  })) << std::hex << screenPixel(rect.left + 300, rect.top + 200);
}

TEST_F(Paint, LayeredSkinIsClippedToTheRoundedFrame) {
  startToolkit();
  const std::string skin = solidPicture(300, 200, argb(255, 255, 0, 0));
  attachHost({.skinBytes = skin, .style = 0, .alpha = 255});
  host->setBackground(std::nullopt, kBlue);
  const Bgra inSkin = layer(50, 50), beside = layer(400, 300), band = layer(50, 155);
  EXPECT_GT(inSkin.r, 240);
  EXPECT_GT(inSkin.a, 250);
  EXPECT_GT(beside.b, 240);
  EXPECT_GT(band.r, 60);
  EXPECT_GT(band.b, 60);
  // The skin does not spill into the shadow band.
  EXPECT_LT(layer(2, 50).r, 60);
  // Half opacity halves the skin too: half-opaque skin over the
  // half-opaque fill, 127 + 127 * (1 - 127 / 255).
  host->opacity(127);
  host->setBackground(std::nullopt, kBlue);
  EXPECT_TRUE(closeTo(layer(50, 50).a, 191, 6)) << layer(50, 50).a;
  // The blended skin is a picture of the whole frame, colour included.
  EXPECT_TRUE(closeTo(layer(400, 300).a, 191, 6)) << layer(400, 300).a;
}

TEST_F(Paint, LayeredSquareCornersUseTheSmallShadow) {
  attachHost({.colour = 0x000000, .style = 0, .alpha = 200, .corner = 0});
  EXPECT_TRUE(closeTo(layer(7, 7).a, 200, 3)) << layer(7, 7).a;  // a square fill reaches the corner
  EXPECT_GT(layer(4, 200).a, 0);
}

TEST_F(Paint, MaximisedWindowHasTheFrameOnItsEdgeAndNoShadow) {
  attachHost({.colour = 0x808080, .style = 479, .alpha = 255});
  EXPECT_LT(layer(0, 200).a, 40);  // normal: the outermost pixel is shadow
  maximise(hwnd);
  ASSERT_TRUE(pumpUntil([&] { return host->clientWidth() > 680; }));
  EXPECT_EQ(host->margin(), 0);
  // m = 0: the frame lies on the window edge and nothing is transparent.
  EXPECT_GT(layer(0, 200).a, 200);
  EXPECT_GT(layer(host->clientWidth() - 2, 200).a, 200);
  const Bgra edge = layer(0, 200), inner = layer(300, 200);
  EXPECT_LT(edge.r, inner.r);
  unmaximise(hwnd, 60, 60, 680, 440);
  ASSERT_TRUE(pumpUntil([&] { return host->clientWidth() == 680; }));
  EXPECT_LT(layer(0, 200).a, 40);
}

TEST_F(Paint, PartialRepaintComposesControlsInZOrder) {
  attachHost({.colour = 0x808080, .style = 479});
  TestControl lower, upper;
  lower.create(hwnd, {100, 100, 45, 45}, 1, 1, kKindTextButton, argb(255, 255, 0, 0));
  upper.create(hwnd, {120, 120, 45, 45}, 1, 1, kKindTextButton, argb(255, 0, 0, 255));
  lower.redraw();
  // The overlap shows the upper control even though the lower one repainted.
  EXPECT_GT(canvas(130, 130).b, 240);
  EXPECT_GT(canvas(105, 105).r, 240);
  EXPECT_GT(upper.count(kMsgPaint), 0);
  EXPECT_EQ(upper.seen.back().direct, 0);
  // Hiding the upper one lets what lies under it show.
  upper.visible(0);
  EXPECT_GT(canvas(130, 130).r, 240);
  EXPECT_TRUE(closeTo(canvas(160, 160).r, 0x80, 2));
}

TEST_F(Paint, FrameIsTouchedUpOnlyNearTheEdge) {
  attachHost({.colour = 0x808080, .style = 0, .alpha = 255});
  // Spoil the shadow band, then repaint a rectangle in the middle and one
  // at the edge.
  record().canvas.fill({0, 100, 5, 100}, argb(255, 255, 0, 0));
  HostWindow::redrawRect(host->windowNumber(), {300, 150, 45, 45}, false);
  EXPECT_EQ(canvas(2, 150).a, 255);
  HostWindow::redrawRect(host->windowNumber(), {2, 140, 45, 45}, false);
  EXPECT_LT(canvas(2, 150).a, 60);
}

namespace {

// GDI and USER objects and private bytes of this process.
std::array<long long, 3> resourceCounts() {
  HANDLE process = GetCurrentProcess();
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof memory;
  GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
  // Wine leaves PrivateUsage at 0; its pagefile usage is the same figure.
  const SIZE_T privateBytes = memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage;
  return {static_cast<long long>(GetGuiResources(process, GR_GDIOBJECTS)),
          static_cast<long long>(GetGuiResources(process, GR_USEROBJECTS)), static_cast<long long>(privateBytes)};
}

}  // namespace

// Both paths (plain and layered) run the same drawing; the counts come from
// the plain window, where 2 000 renders and 20 000 repaints fit the time a
// test may take under Wine, and the layered window adds its own present.
TEST_F(Paint, HandlesAndMemoryStayFlat) {
  attachHost({.colour = 0x808080, .style = 479});
  HWND layeredWindow = createHostClassWindow(100, 100, 400, 300);
  HostWindow layered;
  layered.attach(layeredWindow, {.colour = 0x808080, .style = 479, .alpha = 230});
  TestControl control, layeredControl;
  control.create(hwnd, {300, 200, 45, 45});
  layeredControl.create(layeredWindow, {100, 100, 45, 45});
  auto run = [&](int renders, int repaints) {
    for (int i = 0; i < renders; ++i) host->setBackground();
    for (int i = 0; i < repaints; ++i) {
      control.seen.clear();
      control.redraw();
    }
    for (int i = 0; i < renders / 10; ++i) layered.setBackground();
    for (int i = 0; i < repaints / 10; ++i) {
      layeredControl.seen.clear();
      layeredControl.redraw();
    }
  };
  run(50, 500);  // warm up the caches of GDI+ and the heap
  const auto before = resourceCounts();
  run(2000, 0);
  const auto afterRenders = resourceCounts();
  run(0, 20000);
  const auto after = resourceCounts();
  EXPECT_EQ(afterRenders[0], before[0]);
  EXPECT_EQ(afterRenders[1], before[1]);
  EXPECT_EQ(after[0], before[0]);
  EXPECT_EQ(after[1], before[1]);
  EXPECT_LT(afterRenders[2] - before[2], 2 << 20) << "private bytes grew over 2 000 renders";
  EXPECT_LT(after[2] - afterRenders[2], 2 << 20) << "private bytes grew over 20 000 repaints";
  printf("GDI %lld -> %lld, USER %lld -> %lld, private bytes %lld -> %lld -> %lld\n", before[0], after[0], before[1],
         after[1], before[2], afterRenders[2], after[2]);
  // Where the system keeps no GDI count (Wine), a leak of one object per
  // render would have used up the handle table by now: GDI still hands out
  // objects and the windows still draw.
  std::vector<HRGN> probes;
  for (int i = 0; i < 2000; ++i) probes.push_back(CreateRectRgn(0, 0, 1, 1));
  EXPECT_EQ(std::count(probes.begin(), probes.end(), nullptr), 0);
  for (HRGN r : probes) DeleteObject(r);
  layered.setBackground(std::nullopt, 0x0000FF);
  EXPECT_GT(split(layered.windowRecord()->layer.pixel(50, 250)).r, 200);
  host->setBackground(std::nullopt, 0x0000FF);
  EXPECT_GT(canvas(100, 300).r, 240);
  EXPECT_GT(canvas(310, 210).r, 180);
  DestroyWindow(layeredWindow);
}
