// HostWindow on real windows: attaching, caption buttons, the window table
// and its renumbering, properties, the frameless window messages and bad
// input (broken or extreme skins, windows without a host).
#include "host_fixture.h"

#include "toolkit/controls/caption_button.h"
#include "toolkit/controls/picture_box.h"

using namespace zelvo;
using namespace zelvo::test;

namespace {

class Host : public HostFixture {};

std::vector<std::pair<int, RectF>> captionLayout(const HostWindow& host) {
  std::vector<std::pair<int, RectF>> out;
  for (const auto& button : host.captionButtons()) out.emplace_back(button->buttonKind(), button->bounds());
  return out;
}

}  // namespace

TEST_F(Host, Style479PlacesSixCaptionButtonsFromTheRight) {
  attachHost({.colour = 0x808080, .style = 479});
  const auto layout = captionLayout(*host);
  const int flags[] = {4, 8, 16, 64, 128, 256};
  const float xs[] = {633, 605, 577, 549, 521, 493};
  ASSERT_EQ(layout.size(), 6u);
  for (size_t i = 0; i < 6; ++i) {
    EXPECT_EQ(layout[i].first, flags[i]);
    EXPECT_EQ(layout[i].second.x, xs[i]);
    EXPECT_EQ(layout[i].second.y, 6);
    EXPECT_EQ(layout[i].second.width, i == 0 ? 39 : 28);
    EXPECT_EQ(layout[i].second.height, 19);
  }
  // The buttons and the icon are controls of the host, caption buttons first.
  ASSERT_EQ(record().controlCount(), 7);
  EXPECT_EQ(record().controls[0].kind, kKindCaptionButton);
  EXPECT_EQ(record().controls[6].kind, kKindPicture);
  EXPECT_EQ(host->captionButtonFlag(record().controls[3].id), 64);
  EXPECT_EQ(host->captionButtonFlag(999), 0);
  EXPECT_TRUE(GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_THICKFRAME);
  EXPECT_TRUE(GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_SYSMENU);
  // No non-client area: the client is the whole window.
  RECT client{};
  GetClientRect(hwnd, &client);
  EXPECT_EQ(client.right, 680);
  EXPECT_EQ(client.bottom, 440);
}

TEST_F(Host, StyleNotGivenFollowsTheWindowBoxes) {
  attachHost({.colour = 0x808080}, 400, 300, WS_POPUP | WS_MINIMIZEBOX);
  const auto layout = captionLayout(*host);
  ASSERT_EQ(layout.size(), 2u);
  EXPECT_EQ(layout[0].first, 4);
  EXPECT_EQ(layout[1].first, 16);
  EXPECT_NE(host->iconControl(), nullptr);
  EXPECT_EQ(host->style(), 1 | 2 | 4 | 16);
}

TEST_F(Host, StyleZeroAddsNothing) {
  attachHost({.colour = 0x808080, .style = 0}, 400, 300, WS_POPUP);
  EXPECT_TRUE(captionLayout(*host).empty());
  EXPECT_EQ(host->iconControl(), nullptr);
  EXPECT_FALSE(GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_SYSMENU);
  EXPECT_EQ(record().controlCount(), 0);
}

TEST_F(Host, MaximisedLayoutUsesMarginZero) {
  attachHost({.colour = 0x808080, .style = 479});
  maximise(hwnd);
  ASSERT_TRUE(pumpUntil([&] { return IsZoomed(hwnd) && host->clientWidth() > 680; }));
  EXPECT_EQ(host->margin(), 0);
  EXPECT_EQ(host->captionButtons()[0]->bounds().x, host->clientWidth() - 3 - 39);
  EXPECT_EQ(host->captionButtons()[0]->bounds().y, 1);
  unmaximise(hwnd, 60, 60, 680, 440);
  ASSERT_TRUE(pumpUntil([&] { return !IsZoomed(hwnd) && host->clientWidth() == 680; }));
  EXPECT_EQ(host->captionButtons()[0]->bounds().x, 633);
}

TEST_F(Host, MinMaxInfoFollowsTheWorkArea) {
  attachHost({.colour = 0x808080, .style = 479});
  MINMAXINFO info{};
  send(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_EQ(info.ptMaxSize.x, work.right - work.left + 1);
  EXPECT_EQ(info.ptMaxSize.y, work.bottom - work.top);
  EXPECT_EQ(info.ptMaxPosition.x, work.left);
  EXPECT_EQ(info.ptMinTrackSize.x, 28 * 6 + 11 + 40);
  EXPECT_EQ(info.ptMinTrackSize.y, 40);
}

TEST_F(Host, PropertiesAndHostMessages) {
  attachHost({.colour = 0x123456, .style = 479});
  EXPECT_EQ(host->opacity(), -1);
  EXPECT_EQ(host->opacity(100), -1);  // not layered: setting is ignored
  EXPECT_FALSE(GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED);
  EXPECT_EQ(send(kMsgBackgroundColour), 0x123456);
  EXPECT_EQ(send(kMsgSkinImage), 0);
  EXPECT_EQ(host->configureCaptionButton(32, 1, 1), 0);  // no such button
  EXPECT_EQ(host->configureCaptionButton(64, 1, 1), 0);
  EXPECT_EQ(host->captionButtons()[3]->disabled(), 1);
  host->configureCaptionButton(64, 2, std::string("换肤"));
  EXPECT_EQ(host->captionButtons()[3]->tooltip(), "换肤");
  EXPECT_EQ(host->fadeSetting(), 1);
  EXPECT_EQ(host->fadeSetting(0), 0);
  EXPECT_EQ(host->cornerSize(0), 0);
  EXPECT_EQ(host->stretchSkin(1), 1);
  EXPECT_EQ(host->fixedSize(1), 1);
  EXPECT_FALSE(GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_THICKFRAME);
  EXPECT_EQ(host->backgroundDrag(), 1);
  EXPECT_EQ(host->backgroundDrag(0), 0);
  EXPECT_EQ(send(WM_NCCALCSIZE, 1, 0), 1);
  EXPECT_EQ(send(WM_NCACTIVATE, 0, 0), 1);
}

TEST_F(Host, LayeredHostKeepsItsAlpha) {
  attachHost({.colour = 0x808080, .style = 479, .alpha = 127});
  EXPECT_TRUE(GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED);
  EXPECT_EQ(host->opacity(), 127);
  EXPECT_EQ(host->opacity(200), 200);
}

TEST(WindowTable, DetachingTheFirstOfThreeRenumbersTheOthers) {
  HWND windows[3];
  HostWindow hosts[3];
  TestControl controls[3];
  LONG_PTR ownProc = 0;
  for (int i = 0; i < 3; ++i) {
    windows[i] = createHostClassWindow(40 + 20 * i, 40, 300, 200);
    ownProc = GetWindowLongPtrW(windows[i], GWLP_WNDPROC);
    hosts[i].attach(windows[i], {.colour = 0x808080, .style = 0});
    controls[i].create(windows[i], {20, 40, 30, 30});
  }
  const int first = hosts[0].windowNumber();
  EXPECT_EQ(hosts[1].windowNumber(), first + 1);
  EXPECT_EQ(hosts[2].windowNumber(), first + 2);
  hosts[0].detach();
  EXPECT_FALSE(hosts[0].attached());
  EXPECT_FALSE(controls[0].isCreated());
  EXPECT_EQ(hosts[1].windowNumber(), first);
  EXPECT_EQ(hosts[2].windowNumber(), first + 1);
  EXPECT_EQ(controls[1].windowNumber(), first);
  EXPECT_EQ(controls[2].windowNumber(), first + 1);
  EXPECT_EQ(windowNumberOf(windows[2]), first + 1);
  // The detached window runs on with its own procedure.
  EXPECT_EQ(GetPropW(windows[0], L"addr_wnd"), nullptr);
  EXPECT_EQ(GetWindowLongPtrW(windows[0], GWLP_WNDPROC), ownProc);
  // Destroying a window detaches its host too.
  DestroyWindow(windows[1]);
  EXPECT_FALSE(hosts[1].attached());
  EXPECT_EQ(hosts[2].windowNumber(), first);
  EXPECT_EQ(controls[2].windowNumber(), first);
  DestroyWindow(windows[0]);
  DestroyWindow(windows[2]);
  dropPending();
}

// --- bad input ----------------------------------------------------------------

TEST_F(Host, SkinThatIsNotAPictureGivesTheSolidColour) {
  attachHost({.skinBytes = std::string("this is not a picture at all"), .colour = 0x00FF00, .style = 0});
  EXPECT_EQ(host->skin().imageHandle(), nullptr);
  EXPECT_EQ(host->backgroundColour(), 0x00FF00u);
  const Bgra p = split(record().canvas.pixel(300, 200));
  EXPECT_TRUE(closeTo(p.g, 253, 2)) << p.g;
  EXPECT_TRUE(closeTo(p.r, 0, 1) && closeTo(p.b, 0, 1));
}

TEST_F(Host, EmptyAndTruncatedPicturesAreEmpty) {
  ImageObject image;
  EXPECT_EQ(image.loadFromBytes(""), nullptr);
  EXPECT_EQ(image.width(), 0);
  EXPECT_EQ(image.pixel(0, 0), 0u);
  startToolkit();
  std::string png = solidPicture(20, 20, argb(255, 1, 2, 3));
  ASSERT_FALSE(png.empty());
  EXPECT_EQ(image.loadFromBytes(std::string_view(png).substr(0, 30)), nullptr);
  EXPECT_EQ(image.loadFromBytes(std::string_view(png).substr(0, 8)), nullptr);
  EXPECT_NE(image.loadFromBytes(png), nullptr);
  EXPECT_EQ(image.width(), 20);
  EXPECT_EQ(image.pixel(5, 5), argb(255, 1, 2, 3));
  EXPECT_EQ(image.pixel(20, 5), 0u);
  EXPECT_EQ(image.pixel(-1, 5), 0u);
}

TEST_F(Host, HugeSkinRendersWithoutTrouble) {
  startToolkit();
  const std::string huge = solidPicture(8000, 8000, argb(255, 10, 120, 200));
  ASSERT_FALSE(huge.empty());
  attachHost({.skinBytes = huge, .style = 479});
  EXPECT_EQ(host->skin().width(), 8000);
  // The colour comes from the skin's pixel at 85 %.
  EXPECT_EQ(host->backgroundColour(), ColorRef{10 | (120 << 8) | (200 << 16)});
  const Bgra p = split(record().canvas.pixel(300, 200));
  EXPECT_TRUE(closeTo(p.r, 10, 2) && closeTo(p.g, 120, 2) && closeTo(p.b, 200, 2));
  host->stretchSkin(1);
  EXPECT_FALSE(host->fullRepaint());
}

TEST(NoHost, ControlOnAWindowWithoutHostStaysNotCreated) {
  HWND plain = createHostClassWindow(10, 10, 200, 100);
  TestControl control;
  EXPECT_EQ(control.create(plain, {1, 1, 10, 10}), 0);
  EXPECT_FALSE(control.isCreated());
  EXPECT_EQ(control.windowNumber(), 0);
  // Every operation on it does nothing and answers with nothing.
  control.redraw();
  control.setBounds(5, 5, 5, 5);
  EXPECT_EQ(control.visible(1), 0);
  EXPECT_FALSE(control.hasFocus());
  EXPECT_EQ(control.destroy(), 1);
  EXPECT_TRUE(control.seen.empty());
  EXPECT_EQ(control.create(nullptr, {1, 1, 10, 10}), 0);
  DestroyWindow(plain);
}

TEST_F(Host, MessagesForRemovedControlsAndPositionsAreDropped) {
  attachHost({.colour = 0x808080, .style = 0});
  TestControl a, b;
  a.create(hwnd, {20, 40, 30, 30});
  b.create(hwnd, {60, 40, 30, 30});
  const int n = host->windowNumber();
  const int oldPosition = position(b);
  b.destroy();
  b.seen.clear();
  EXPECT_EQ(deliverMessage(n, oldPosition, hwnd, WM_LBUTTONDOWN, 0, 0, 1), 0);
  EXPECT_EQ(deliverMessage(n, 99, hwnd, WM_LBUTTONDOWN, 0, 0, 1), 0);
  EXPECT_EQ(deliverMessage(n + 50, 1, hwnd, WM_LBUTTONDOWN, 0, 0, 1), 0);
  EXPECT_EQ(removeControl(n, 77), 0);
  EXPECT_EQ(positionOfId(n + 50, 1), 0);
  // A timer for a position that no longer exists is ignored.
  send(WM_TIMER, controlTimerId(n, oldPosition), 0);
  send(WM_TIMER, controlTimerId(n + 50, 1), 0);
  EXPECT_TRUE(b.seen.empty());
  // Destroying the object while it is on the host takes it off cleanly.
  {
    TestControl brief;
    brief.create(hwnd, {100, 40, 10, 10});
    EXPECT_EQ(record().controlCount(), 2);
  }
  EXPECT_EQ(record().controlCount(), 1);
}

TEST_F(Host, ImageListRegistry) {
  attachHost({.colour = 0x808080, .style = 0});
  ImageListId id = 0;
  {
    ImageList list;
    list.init(32, 32);
    id = list.id();
    EXPECT_EQ(list.addBytes(solidPicture(32, 32, argb(255, 255, 0, 0))), 1);
    EXPECT_EQ(list.addBytes(solidPicture(48, 48, argb(255, 0, 0, 255))), 2);
    EXPECT_EQ(list.addBytes("junk"), 0);
    EXPECT_EQ(imageListWidth(id), 32);
    GpGraphics* canvas = record().canvas.graphics();
    EXPECT_FALSE(drawFromImageList(id, canvas, 0, 0, 0));
    EXPECT_FALSE(drawFromImageList(id, canvas, 3, 0, 0));
    EXPECT_TRUE(drawFromImageList(id, canvas, 2, 100, 100));
    gp::GdipFlush(canvas, Gdiplus::FlushIntentionSync);
    // The 48 x 48 picture is scaled down to the list's 32 x 32.
    EXPECT_TRUE(closeTo(split(record().canvas.pixel(130, 130)).b, 255, 3));
    EXPECT_FALSE(closeTo(split(record().canvas.pixel(134, 134)).b, 255, 3));
  }
  EXPECT_EQ(imageListWidth(id), 0);
  EXPECT_FALSE(drawFromImageList(id, record().canvas.graphics(), 1, 0, 0));
}
