// What the playback controller shows and asks: the main window's play and
// speed buttons, the two clock labels, the seek bar, the timer, the caption,
// the tips and the open dialog. The main window implements it; tests use a
// recording fake.
#pragma once

#include <optional>
#include <string>

namespace zelvo::audio {

class PlayerView {
 public:
  virtual ~PlayerView() = default;

  virtual void showPlayIcons() = 0;
  virtual void showPauseIcons() = 0;
  virtual void showSpeedIcons(int speedStep) = 0;
  virtual void setPositionText(const std::string& text) = 0;
  virtual void setLengthText(const std::string& text) = 0;
  virtual void setSeekValue(float percent) = 0;
  virtual void setSeekSecondaryValue(float percent) = 0;
  // The playback tick's interval in ms; 0 stops it.
  virtual void setTickInterval(int milliseconds) = 0;
  virtual void setCaption(const std::string& caption) = 0;
  virtual void showNextTip() = 0;
  // The lecture-mode button back to its normal pictures.
  virtual void showLectureModeOff() = 0;
  // The "选择要打开的音频文件" dialog; nothing when cancelled.
  virtual std::optional<std::string> chooseAudioFile() = 0;
};

}  // namespace zelvo::audio
