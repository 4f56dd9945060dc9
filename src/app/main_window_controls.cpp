#include "app/main_window_controls.h"

#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>
#include <chrono>

#include "audio/playback_rules.h"
#include "editor/editor_window.h"
#include "pictures.h"
#include "platform/text_codec.h"
#include "platform/ui_thread.h"
#include "toolkit/core/host_window.h"
#include "zelvo_audio_api.h"

namespace zelvo {
namespace {

using namespace std::chrono_literals;
namespace pics = pictures;

struct Pictures {
  std::string_view normal, hover, pressed;
};

struct ButtonPlace {
  int x, y, width, height;
  const char* tooltip;
  Pictures pictures;
};

// The main window's buttons in creation order (client pixels at 680 x 440).
const ButtonPlace kButtons[kMainButtonCount] = {
    {110, 35, 45, 45, "播放/暂停 F4,Tab", {pics::kPlayNormal, pics::kPlayHover, pics::kPlayPressed}},
    {65, 35, 45, 45, "快退5秒 F5,左shift", {pics::kBackNormal, pics::kBackHover, pics::kBackPressed}},
    {155, 35, 45, 45, "快进5秒 F6,右shift", {pics::kForwardNormal, pics::kForwardHover, pics::kForwardPressed}},
    {20, 35, 45, 45, "打开音频 Alt+O", {pics::kOpenAudioNormal, pics::kOpenAudioHover, pics::kOpenAudioPressed}},
    {200, 35, 45, 45, "变速播放 Alt+←,→", {pics::kSpeed10Normal, pics::kSpeed10Hover, pics::kSpeed10Pressed}},
    {260, 35, 45, 45, "新建文档 Ctrl+N", {pics::kNewDocumentNormal, pics::kNewDocumentHover, pics::kNewDocumentPressed}},
    {305, 35, 45, 45, "打开文档 Ctrl+O", {pics::kOpenDocumentNormal, pics::kOpenDocumentHover, pics::kOpenDocumentPressed}},
    {350, 35, 45, 45, "保存文档 Ctrl+S", {pics::kSaveDocumentNormal, pics::kSaveDocumentHover, pics::kSaveDocumentPressed}},
    {395, 35, 45, 45, "另存文档 Ctrl+Shift+S",
     {pics::kSaveDocumentAsNormal, pics::kSaveDocumentAsHover, pics::kSaveDocumentAsPressed}},
    {440, 35, 45, 45, "撤销 Ctrl+Z", {pics::kUndoNormal, pics::kUndoHover, pics::kUndoPressed}},
    {485, 35, 45, 45, "重做 Ctrl+Y", {pics::kRedoNormal, pics::kRedoHover, pics::kRedoPressed}},
    {530, 35, 45, 45, "剪切 Ctrl+X", {pics::kCutNormal, pics::kCutHover, pics::kCutPressed}},
    {575, 35, 45, 45, "复制 Ctrl+C", {pics::kCopyNormal, pics::kCopyHover, pics::kCopyPressed}},
    {620, 35, 45, 45, "粘贴 Ctrl+V", {pics::kPasteNormal, pics::kPasteHover, pics::kPastePressed}},
    {652, 98, 16, 16, "收缩编辑框", {pics::kCollapseEditorNormal, pics::kCollapseEditorHover, pics::kCollapseEditorPressed}},
    {15, 395, 32, 32, "展开编辑框", {pics::kExpandEditorNormal, pics::kExpandEditorHover, pics::kExpandEditorPressed}},
    {550, 98, 50, 20, "讲课模式", {pics::kLectureNormal, pics::kLectureHover, pics::kLecturePressed}},
    {430, 362, 64, 64, " Zelvo打字团队\r\n录音整理服务介绍", {pics::kServiceNormal, pics::kServiceHover, pics::kServicePressed}},
    {520, 362, 64, 64, "Zelvo打字团队\r\n客服01:（在线）", {pics::kSupport1Normal, pics::kSupport1Hover, pics::kSupport1Pressed}},
    {590, 362, 64, 64, "Zelvo打字团队\r\n客服02:（在线）", {pics::kSupport2Normal, pics::kSupport2Hover, pics::kSupport2Pressed}},
    {350, 364, 60, 60, "优选特卖", {pics::kOffersNormal, pics::kOffersHover, pics::kOffersPressed}},
    {270, 364, 60, 60, "百度", {pics::kSearchNormal, pics::kSearchHover, pics::kSearchPressed}},
    {610, 145, 32, 32, "播放网络音频", {pics::kPlayAddressNormal, pics::kPlayAddressHover, pics::kPlayAddressPressed}},
    {610, 210, 32, 32, "删除一条记录", {pics::kDeleteEntryNormal, pics::kDeleteEntryHover, pics::kDeleteEntryPressed}},
    {610, 255, 32, 32, "清空全部记录", {pics::kClearEntriesNormal, pics::kClearEntriesHover, pics::kClearEntriesPressed}},
};

Pictures speedPictures(int step) {
  static const Pictures kSpeeds[] = {
      {pics::kSpeed6Normal, pics::kSpeed6Hover, pics::kSpeed6Pressed},
      {pics::kSpeed7Normal, pics::kSpeed7Hover, pics::kSpeed7Pressed},
      {pics::kSpeed8Normal, pics::kSpeed8Hover, pics::kSpeed8Pressed},
      {pics::kSpeed9Normal, pics::kSpeed9Hover, pics::kSpeed9Pressed},
      {pics::kSpeed10Normal, pics::kSpeed10Hover, pics::kSpeed10Pressed},
      {pics::kSpeed11Normal, pics::kSpeed11Hover, pics::kSpeed11Pressed},
      {pics::kSpeed12Normal, pics::kSpeed12Hover, pics::kSpeed12Pressed},
      {pics::kSpeed13Normal, pics::kSpeed13Hover, pics::kSpeed13Pressed},
      {pics::kSpeed14Normal, pics::kSpeed14Hover, pics::kSpeed14Pressed},
      {pics::kSpeed15Normal, pics::kSpeed15Hover, pics::kSpeed15Pressed},
  };
  step = std::clamp(playback::effectiveStep(step), playback::kSlowestStep, playback::kFastestStep);
  return kSpeeds[step - playback::kSlowestStep];
}

// The playback tick runs on the main window's one timer. Its id is clear of
// the host's control timers, which are MAKELONG(window number, position).
constexpr UINT_PTR kPlaybackTimer = 0x7A10;
MainWindowControls* g_tickTarget = nullptr;

void CALLBACK playbackTimerProc(HWND, UINT, UINT_PTR, DWORD) {
  if (g_tickTarget) g_tickTarget->controller().onPlaybackTick();
}

constexpr toolkit::Argb kWhite = toolkit::toArgb(0xFFFFFF);

// "mm:ss" back to seconds; -1 when the text is no clock.
int clockSeconds(const std::string& text) {
  const auto colon = text.find(':');
  if (colon == std::string::npos || colon == 0) return -1;
  try {
    return std::stoi(text.substr(0, colon)) * 60 + std::stoi(text.substr(colon + 1));
  } catch (...) {
    return -1;
  }
}

std::wstring desktopFolder() {
  wchar_t path[MAX_PATH] = L"";
  if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, path))) return path;
  return L"";
}

RECT windowRectOf(HWND hwnd) {
  RECT rect{};
  GetWindowRect(hwnd, &rect);
  return rect;
}

}  // namespace

MainWindowControls::MainWindowControls(AppState& state) : state_(state), controller_(state, *this) {}

MainWindowControls::~MainWindowControls() {
  stopFade();
  if (g_tickTarget == this) g_tickTarget = nullptr;
}

void MainWindowControls::createSeekBar(HWND hwnd) {
  hwnd_ = hwnd;
  seekBar_.create(hwnd, 20, 80, 640, 21,
                  {.trackHeight = 6,
                   .value = 0,
                   .playedColour1 = toolkit::toArgb(0x00FF00),
                   .secondaryColour = toolkit::toArgb(0xECECEC),
                   .thumb = 1,
                   .thumbImage = pics::kSeekThumb,
                   .thumbHoverImage = pics::kSeekThumbHover,
                   .rounded = 0});
}

void MainWindowControls::createControls(HWND hwnd) {
  hwnd_ = hwnd;
  for (int n = 0; n < kMainButtonCount; ++n) {
    const ButtonPlace& place = kButtons[n];
    buttons_[n].create(hwnd, place.x, place.y, place.width, place.height, place.pictures.normal,
                       place.pictures.hover, place.pictures.pressed);
    buttons_[n].tooltip(std::string(place.tooltip));
  }
  pauseIconsShown_ = false;
  const toolkit::LabelOptions white{.textColour = kWhite};
  positionLabel_.create(hwnd, "", 30, 100, 40, 16, white);
  toolkit::LabelOptions right = white;
  right.alignment = 5;
  lengthLabel_.create(hwnd, "", 610, 100, 40, 16, right);
  messageLine_.create(hwnd, "", 100, 100, 430, 16, white);
  for (toolkit::Label* label : {&positionLabel_, &lengthLabel_, &messageLine_}) label->automaticContrast(1);
  // The history list, the address box and the logo join here with their
  // parts (play history, network audio).
  for (toolkit::ImageButton& button : buttons_) button.cursor(32649);  // the hand
  g_tickTarget = this;
}

void MainWindowControls::installCallbacks() {
  toolkit::HostWindow& host = state_.mainHost;
  host.setClickHandler([this](HWND hwnd, int id, toolkit::Control* control, int kind) {
    dispatchMainCommand(hwnd, id, control, kind);
  });
  // The double-click callback (replaying a history entry) joins with the
  // play history.
  host.setSizeHandler([this](HWND, int, int) { relayoutMainWindow(); });
  seekBar_.setChangeCallback([this](int percent, int) { controller_.onSeekBarChanged(percent); });
  seekBar_.bindEvent(WM_LBUTTONDOWN, [this](int, int, WPARAM, LPARAM, int) { state_.seekDragging = true; });
  seekBar_.bindEvent(WM_LBUTTONUP, [this](int, int, WPARAM, LPARAM, int) { state_.seekDragging = false; });
  host.setBackgroundRepaintedHandler([this](HWND, toolkit::GpGraphics*, HDC, int, int) {
    ++state_.backgroundRepaintCount;
  });
}

void MainWindowControls::runEditorCommand(int button) {
  editor::EditorWindow& editor = editor::theEditorWindow();
  switch (button) {
    case kUndoButton: editor.undo(); break;  // the focus stays where it is
    case kRedoButton: editor.redo(); break;
    case kCutButton: editor.cut(); break;
    case kCopyButton: editor.copy(); break;
    case kPasteButton: editor.paste(); break;
    default: break;
  }
}

void MainWindowControls::dispatchMainCommand(HWND, int controlId, toolkit::Control*, int kind) {
  if (kind == toolkit::kKindCaptionButton) {
    // Caption buttons 64 (palette window), 256 (help and settings window)
    // and 128 (the shop page) join here with their windows and the browser
    // launcher; until then they do nothing.
    (void)state_.mainHost.captionButtonFlag(controlId);
    return;
  }
  if (kind != toolkit::kKindImageButton) return;
  int button = -1;
  for (int n = 0; n < kMainButtonCount && button < 0; ++n)
    if (buttons_[n].controlId() == controlId) button = n;
  switch (button) {
    case kPlayPauseButton: controller_.togglePlayPause(); break;
    case kBackButton: controller_.seekBackward(); break;
    case kForwardButton: controller_.seekForward(); break;
    case kOpenAudioButton: controller_.openAudioFile(); break;
    case kSpeedButton: controller_.cycleSpeed(); break;
    case kUndoButton:
    case kRedoButton:
    case kCutButton:
    case kCopyButton:
    case kPasteButton: runEditorCommand(button); break;
    case kCollapseButton: collapseEditor(); break;
    case kExpandButton: expandEditor(); break;
    // Buttons 5-8 (documents), 16 (lecture mode), 17-21 (pages in the
    // browser) and 22-24 (network audio and the history list) are bound here
    // as their parts join; until then a click on them does nothing.
    default: break;
  }
}

void MainWindowControls::relayoutMainWindow() {
  if (!hwnd_) return;
  const RECT main = windowRectOf(hwnd_);
  const int width = main.right - main.left, height = main.bottom - main.top;
  auto moveTo = [&](int n, std::optional<float> x, std::optional<float> y) {
    buttons_[n].setBounds(x, y, std::nullopt, std::nullopt);
  };
  moveTo(kCollapseButton, float(width - 28), std::nullopt);
  moveTo(kExpandButton, std::nullopt, float(height - 45));
  moveTo(kSupport2Button, float(width - 80), float(height - 78));
  moveTo(kSupport1Button, float(width - 160), float(height - 78));
  moveTo(kServiceButton, float(width - 240), float(height - 78));
  moveTo(kOffersButton, float(width - 325), float(height - 78));
  moveTo(kSearchButton, float(width - 420), float(height - 78));
  // The logo (W - 595, H - 68) follows with the logo picture.
  if (!state_.editorCollapsed) editor::theEditorWindow().relayout(main);
}

void MainWindowControls::collapseEditor() {
  state_.editorCollapsed = true;
  editor::theEditorWindow().collapseEditor();
}

void MainWindowControls::expandEditor() {
  state_.editorCollapsed = false;
  relayoutMainWindow();
}

void MainWindowControls::stopFade() {
  if (fade_.joinable()) {
    fade_.request_stop();
    fade_.join();
  }
}

void MainWindowControls::flashMessage(const std::string& text) {
  stopFade();
  const std::uint64_t generation = ++fadeGeneration_;
  messageLine_.setTextColour(kWhite);
  messageLine_.text(text);
  // The worker only waits; every change of the line is posted back to the
  // UI thread and dropped there when a newer message has replaced this one.
  fade_ = std::jthread([this, generation](std::stop_token stop) {
    std::mutex mutex;
    std::condition_variable_any wake;
    std::unique_lock lock(mutex);
    auto pause = [&](std::chrono::milliseconds time) {
      wake.wait_for(lock, stop, time, [] { return false; });
      return !stop.stop_requested();
    };
    auto post = [this, generation](std::function<void()> change) {
      platform::postToUiThread([this, generation, change = std::move(change)] {
        if (fadeGeneration_ == generation) change();
      });
    };
    if (!pause(3000ms)) return;
    for (int step = 1; step <= 50; ++step) {
      const int alpha = 255 - 5 * step;
      post([this, alpha] { messageLine_.setTextColour(toolkit::withAlpha(kWhite, alpha)); });
      if (!pause(50ms)) return;
    }
    post([this] {
      messageLine_.text("");
      messageLine_.setTextColour(kWhite);
    });
  });
}

void MainWindowControls::showNextTip() {
  state_.tipIndex = state_.tipIndex % kTipCount + 1;
  flashMessage(state_.tips[state_.tipIndex - 1]);
}

void MainWindowControls::showPlayIcons() {
  const Pictures& p = kButtons[kPlayPauseButton].pictures;
  buttons_[kPlayPauseButton].setImages(p.normal, p.hover, p.pressed);
  pauseIconsShown_ = false;
}

void MainWindowControls::showPauseIcons() {
  buttons_[kPlayPauseButton].setImages(pics::kPauseNormal, pics::kPauseHover, pics::kPausePressed);
  pauseIconsShown_ = true;
}

void MainWindowControls::showSpeedIcons(int speedStep) {
  const Pictures p = speedPictures(speedStep);
  buttons_[kSpeedButton].setImages(p.normal, p.hover, p.pressed);
}

void MainWindowControls::setPositionText(const std::string& text) {
  if (positionLabel_.text() != text) positionLabel_.text(text);
}

void MainWindowControls::setLengthText(const std::string& text) { lengthLabel_.text(text); }
void MainWindowControls::setSeekValue(float percent) { seekBar_.value(percent); }
void MainWindowControls::setSeekSecondaryValue(float percent) { seekBar_.secondaryValue(percent); }

void MainWindowControls::setTickInterval(int milliseconds) {
  if (!hwnd_) return;
  if (milliseconds > 0)
    SetTimer(hwnd_, kPlaybackTimer, static_cast<UINT>(milliseconds), playbackTimerProc);
  else
    KillTimer(hwnd_, kPlaybackTimer);
}

void MainWindowControls::setCaption(const std::string& caption) {
  if (hwnd_) SetWindowTextW(hwnd_, text::widen(caption).c_str());
}

void MainWindowControls::showLectureModeOff() {
  const Pictures& p = kButtons[kLectureButton].pictures;
  buttons_[kLectureButton].setImages(p.normal, p.hover, p.pressed);
}

std::optional<std::string> MainWindowControls::chooseAudioFile() {
  wchar_t file[32768] = L"";
  const std::wstring folder = desktopFolder();
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = hwnd_;
  ofn.lpstrFilter = L"所有文件(*.*)\0*.*\0\0";
  ofn.lpstrFile = file;
  ofn.nMaxFile = static_cast<DWORD>(std::size(file));
  ofn.lpstrTitle = L"选择要打开的音频文件";
  ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
  if (!GetOpenFileNameW(&ofn)) return std::nullopt;
  return text::narrow(file);
}

LRESULT MainWindowControls::inspect(WPARAM what, LPARAM arg) {
  switch (static_cast<int>(what)) {
    case kInspectPositionSeconds: return clockSeconds(positionLabel_.text());
    case kInspectLengthSeconds: return clockSeconds(lengthLabel_.text());
    case kInspectPauseIconsShown: return pauseIconsShown_ ? 1 : 0;
    case kInspectStreamState:
      return state_.currentStream ? static_cast<LRESULT>(state_.audioPlayer.isActive(state_.currentStream)) : -1;
    case kInspectButtonX: return arg >= 0 && arg < kMainButtonCount ? buttons_[arg].left() : -1;
    case kInspectButtonY: return arg >= 0 && arg < kMainButtonCount ? buttons_[arg].top() : -1;
    case kInspectSpeedStep: return state_.speedStep;
    case kInspectTipIndex: return state_.tipIndex;
    case kInspectSeekDragging: return state_.seekDragging ? 1 : 0;
    case kInspectEditorCollapsed: return state_.editorCollapsed ? 1 : 0;
    default: return -1;
  }
}

}  // namespace zelvo
