// The main window's controls: 25 image buttons, the position and length
// labels, the message line and the seek bar, their places and pictures, the
// commands they run, how they follow a resize, the fading message line and
// the tips. It is the playback controller's view of the window.
#pragma once

#include <windows.h>

#include <array>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "app/app_state.h"
#include "audio/playback_controller.h"
#include "audio/player_view.h"
#include "toolkit/controls/image_button.h"
#include "toolkit/controls/label.h"
#include "toolkit/controls/progress_bar.h"

namespace zelvo {

inline constexpr int kMainButtonCount = 25;
// Buttons by their place in the table of the main window.
enum MainButton : int {
  kPlayPauseButton = 0, kBackButton = 1, kForwardButton = 2, kOpenAudioButton = 3, kSpeedButton = 4,
  kNewDocumentButton = 5, kOpenDocumentButton = 6, kSaveDocumentButton = 7, kSaveAsButton = 8,
  kUndoButton = 9, kRedoButton = 10, kCutButton = 11, kCopyButton = 12, kPasteButton = 13,
  kCollapseButton = 14, kExpandButton = 15, kLectureButton = 16, kServiceButton = 17, kSupport1Button = 18,
  kSupport2Button = 19, kOffersButton = 20, kSearchButton = 21, kPlayAddressButton = 22,
  kDeleteEntryButton = 23, kClearEntriesButton = 24,
};

// Questions another process may ask the main window (tests, automation):
// SendMessage(main, RegisterWindowMessage(kInspectMessageName), what, arg).
inline constexpr wchar_t kInspectMessageName[] = L"Zelvo.Inspect";
enum InspectQuery : int {
  kInspectPositionSeconds = 1,  // the position label as seconds, -1 when empty
  kInspectLengthSeconds = 2,    // the length label likewise
  kInspectPauseIconsShown = 3,  // 1 while the play button shows the pause pictures
  kInspectStreamState = 4,      // the stream's activity state, -1 without one
  kInspectButtonX = 5,          // arg = button number: its left edge
  kInspectButtonY = 6,
  kInspectSpeedStep = 7,
  kInspectTipIndex = 8,
  kInspectSeekDragging = 9,
  kInspectEditorCollapsed = 10,
};

class MainWindowControls final : public audio::PlayerView {
 public:
  explicit MainWindowControls(AppState& state);
  ~MainWindowControls() override;

  // Start-up steps 12 and 13: the seek bar, then every other control.
  void createSeekBar(HWND hwnd);
  void createControls(HWND hwnd);
  // Step 14: the toolkit callbacks of the main window and the seek bar.
  void installCallbacks();

  void dispatchMainCommand(HWND hwnd, int controlId, toolkit::Control* control, int kind);
  void relayoutMainWindow();
  void collapseEditor();
  void expandEditor();
  void flashMessage(const std::string& text);
  LRESULT inspect(WPARAM what, LPARAM arg);

  audio::PlaybackController& controller() { return controller_; }
  toolkit::ImageButton& button(int n) { return buttons_[n]; }
  toolkit::Label& positionLabel() { return positionLabel_; }
  toolkit::Label& messageLine() { return messageLine_; }
  toolkit::ProgressBar& seekBar() { return seekBar_; }

  // PlayerView.
  void showPlayIcons() override;
  void showPauseIcons() override;
  void showSpeedIcons(int speedStep) override;
  void setPositionText(const std::string& text) override;
  void setLengthText(const std::string& text) override;
  void setSeekValue(float percent) override;
  void setSeekSecondaryValue(float percent) override;
  void setTickInterval(int milliseconds) override;
  void setCaption(const std::string& caption) override;
  void showNextTip() override;
  void showLectureModeOff() override;
  std::optional<std::string> chooseAudioFile() override;

 private:
  void stopFade();
  void runEditorCommand(int button);

  AppState& state_;
  audio::PlaybackController controller_;
  HWND hwnd_ = nullptr;
  std::array<toolkit::ImageButton, kMainButtonCount> buttons_;
  toolkit::Label positionLabel_;
  toolkit::Label lengthLabel_;
  toolkit::Label messageLine_;
  toolkit::ProgressBar seekBar_;
  bool pauseIconsShown_ = false;

  // The message line's fade: one worker at a time; a newer message stops
  // the older fade, so it never empties the line under the new text.
  std::jthread fade_;
  std::uint64_t fadeGeneration_ = 0;
};

}  // namespace zelvo
