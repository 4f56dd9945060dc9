// Image buttons, the progress bar and labels on a real host window.
#include <gtest/gtest.h>

#include "host_fixture.h"
#include "toolkit/controls/image_button.h"
#include "toolkit/controls/label.h"
#include "toolkit/controls/progress_bar.h"

using namespace zelvo;
using namespace zelvo::test;

namespace {

constexpr Argb kRed = argb(255, 220, 0, 0), kGreen = argb(255, 0, 200, 0), kBlue = argb(255, 0, 0, 220);

class PlayerControls : public HostFixture {
 protected:
  void SetUp() override {
    attachHost(AttachOptions{.colour = 0x202020});
    host->fadeSetting(0);  // every change shows at once
    host->setClickHandler([this](HWND, int id, Control*, int) { clicks.push_back(id); });
  }
  // Canvas colour at a client point, as (r, g, b).
  std::tuple<int, int, int> at(int x, int y) {
    const Bgra p = split(record().canvas.pixel(x, y));
    return {p.r, p.g, p.b};
  }
  void mouse(UINT message, int x, int y) {
    RECT window{};
    GetWindowRect(hwnd, &window);
    SetCursorPos(window.left + x, window.top + y);
    send(message, message == WM_LBUTTONDOWN ? MK_LBUTTON : 0, point(x, y));
  }

  std::vector<int> clicks;
};

bool isColour(std::tuple<int, int, int> c, Argb colour) {
  const auto [r, g, b] = c;
  return closeTo(r, int((colour >> 16) & 0xFF), 12) && closeTo(g, int((colour >> 8) & 0xFF), 12) &&
         closeTo(b, int(colour & 0xFF), 12);
}

}  // namespace

TEST_F(PlayerControls, ImageButtonShowsOnePicturePerState) {
  const std::string red = solidPicture(45, 45, kRed), green = solidPicture(45, 45, kGreen),
                    blue = solidPicture(45, 45, kBlue);
  ImageButton button;
  const int id = button.create(hwnd, 100, 100, 45, 45, red, green, blue);
  ASSERT_GT(id, 0);
  EXPECT_TRUE(isColour(at(120, 120), kRed));
  mouse(WM_MOUSEMOVE, 120, 120);
  EXPECT_TRUE(isColour(at(120, 120), kGreen));
  mouse(WM_LBUTTONDOWN, 120, 120);
  EXPECT_TRUE(isColour(at(120, 120), kBlue));
  mouse(WM_LBUTTONUP, 120, 120);
  EXPECT_TRUE(isColour(at(120, 120), kBlue));  // pressed until the mouse moves again
  EXPECT_EQ(clicks, std::vector<int>{id});
  mouse(WM_MOUSEMOVE, 121, 120);
  EXPECT_TRUE(isColour(at(120, 120), kGreen));

  // setImages with only the normal picture keeps the other two.
  button.setImages(blue);
  EXPECT_TRUE(isColour(at(120, 120), kBlue));
  mouse(WM_MOUSEMOVE, 125, 120);
  mouse(WM_MOUSEMOVE, 126, 120);
  EXPECT_TRUE(isColour(at(120, 120), kGreen));
}

TEST_F(PlayerControls, ImageButtonPressedAndReleasedElsewhereIsNoClick) {
  ImageButton button;
  button.create(hwnd, 100, 100, 45, 45, solidPicture(45, 45, kRed), std::nullopt, solidPicture(45, 45, kBlue));
  mouse(WM_MOUSEMOVE, 110, 110);
  EXPECT_TRUE(isColour(at(110, 110), kRed));  // no hover picture: the normal one
  mouse(WM_LBUTTONDOWN, 110, 110);
  mouse(WM_MOUSEMOVE, 300, 300);  // dragged off: the pressed picture stays
  EXPECT_TRUE(isColour(at(110, 110), kBlue));
  mouse(WM_LBUTTONUP, 300, 300);
  EXPECT_TRUE(clicks.empty());
  EXPECT_TRUE(isColour(at(110, 110), kBlue));
}

TEST_F(PlayerControls, DisabledImageButtonIgnoresTheMouseButRepaints) {
  ImageButton button;
  button.create(hwnd, 100, 100, 45, 45, solidPicture(45, 45, kRed), solidPicture(45, 45, kGreen));
  button.disabled(1);
  mouse(WM_MOUSEMOVE, 110, 110);
  EXPECT_TRUE(isColour(at(110, 110), kRed));
  button.setImages(solidPicture(45, 45, kBlue));
  EXPECT_TRUE(isColour(at(110, 110), kBlue));
}

TEST_F(PlayerControls, ProgressBarValuesClampAndHeightHasAFloor) {
  ProgressBar bar;
  bar.create(hwnd, 20, 80, 640, 8);
  EXPECT_EQ(bar.height(), 12);
  EXPECT_FLOAT_EQ(bar.value(150), 100);
  EXPECT_FLOAT_EQ(bar.value(-3), 0);
  EXPECT_FLOAT_EQ(bar.secondaryValue(50), 50);
}

TEST_F(PlayerControls, SeekBarClicksAtItsEndsGiveZeroAndHundred) {
  ProgressBar bar;
  bar.create(hwnd, 20, 80, 640, 21, ProgressBarOptions{.trackHeight = 6, .thumb = 1, .rounded = 0});
  bar.value(50);
  std::vector<int> changes;
  bar.setChangeCallback([&](int value, int) { changes.push_back(value); });

  mouse(WM_LBUTTONDOWN, 25, 90);
  EXPECT_FLOAT_EQ(bar.value(), 50);  // a press alone does not move the value
  mouse(WM_LBUTTONUP, 25, 90);
  EXPECT_FLOAT_EQ(bar.value(), 0);
  mouse(WM_LBUTTONDOWN, 655, 90);
  mouse(WM_LBUTTONUP, 655, 90);
  EXPECT_FLOAT_EQ(bar.value(), 100);
  EXPECT_EQ(changes, (std::vector<int>{0, 100}));
}

TEST_F(PlayerControls, SeekBarDragCallsBackOnEveryMove) {
  ProgressBar bar;
  bar.create(hwnd, 20, 80, 640, 21, ProgressBarOptions{.thumb = 1});
  std::vector<int> changes;
  bar.setChangeCallback([&](int value, int) { changes.push_back(value); });
  std::vector<int> downs, ups;
  bar.bindEvent(WM_LBUTTONDOWN, [&](int, int, WPARAM, LPARAM, int) { downs.push_back(1); });
  bar.bindEvent(WM_LBUTTONUP, [&](int, int, WPARAM, LPARAM, int) { ups.push_back(1); });

  mouse(WM_LBUTTONDOWN, 29, 90);  // 9 px in: the left end
  for (int x : {100, 200, 200, 340}) mouse(WM_MOUSEMOVE, x, 90);
  EXPECT_EQ(changes.size(), 4u);
  EXPECT_EQ(changes[1], changes[2]);  // repeated moves are all handled
  mouse(WM_LBUTTONUP, 340, 90);
  EXPECT_EQ(changes.back(), 50);  // (340 - 20 - 9) / (640 - 18) = 50 %
  EXPECT_EQ(downs.size(), 1u);
  EXPECT_EQ(ups.size(), 1u);
}

TEST_F(PlayerControls, ProgressBarWithoutThumbIgnoresClicks) {
  ProgressBar bar;
  bar.create(hwnd, 20, 80, 640, 21);
  bar.value(30);
  int changes = 0;
  bar.setChangeCallback([&](int, int) { ++changes; });
  mouse(WM_LBUTTONDOWN, 600, 90);
  mouse(WM_LBUTTONUP, 600, 90);
  EXPECT_FLOAT_EQ(bar.value(), 30);
  EXPECT_EQ(changes, 0);
}

TEST_F(PlayerControls, PlayedAndLoadedPartsFillTheirShareOfTheTrack) {
  ProgressBar bar;
  bar.create(hwnd, 20, 200, 420, 21,
             ProgressBarOptions{.trackHeight = 10, .playedColour1 = argb(254, 0, 255, 0),
                                .playedColour2 = argb(254, 0, 255, 0), .secondaryColour = argb(254, 255, 255, 255),
                                .rounded = 0});
  bar.secondaryValue(50);
  bar.value(20);
  // Inner track from x = 24 over 412 px: played to about 24 + 82, loaded to 24 + 206.
  EXPECT_GT(std::get<1>(at(60, 210)), 150);   // green (shaded) in the first fifth
  EXPECT_LT(std::get<0>(at(60, 210)), 60);
  EXPECT_GT(std::get<0>(at(180, 210)), 200);  // white: loaded, not played
  EXPECT_LT(std::get<0>(at(300, 210)), 80);   // background beyond
}

TEST_F(PlayerControls, LabelContrastFollowsTheBackgroundAndKeepsAlpha) {
  Label label;
  label.create(hwnd, "00:00", 30, 100, 40, 16, LabelOptions{.textColour = argb(200, 255, 255, 255)});
  label.automaticContrast(1);
  EXPECT_EQ(label.textColour(), argb(200, 255, 255, 255));  // not repainted yet
  label.text("00:01");
  EXPECT_EQ(label.textColour(), argb(200, 255, 255, 255));  // dark window: white

  host->setBackground(std::nullopt, 0xF0F0F0);
  label.text("00:02");
  EXPECT_EQ(label.textColour(), argb(200, 0, 0, 0));  // light window: black, same alpha
}

TEST_F(PlayerControls, DestroyingALabelLeavesTheSharedFont) {
  {
    Label label;
    label.create(hwnd, "x", 10, 10, 40, 16);
    label.destroy();
  }
  Label other;
  other.create(hwnd, "still drawn", 10, 10, 80, 16);
  EXPECT_NE(globals().defaultFont, nullptr);
  EXPECT_GT(other.controlId(), 0);
}
