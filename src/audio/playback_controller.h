// The player bar's operations: open a recording, play/pause, five-second
// seeks, the speed control, the seek bar and the 100 ms tick that keeps the
// labels, the seek bar and the play button in step with the stream. Works on
// AppState through the AudioPlayer; the toolbar buttons and the hotkeys call
// the same operations. UI thread only.
#pragma once

#include <string>

#include "app/app_state.h"
#include "audio/player_view.h"

namespace zelvo::audio {

enum class SourceKind { LocalFile = 0, NetworkAddress = 1 };

class PlaybackController {
 public:
  static constexpr int kTickMilliseconds = 100;

  PlaybackController(AppState& state, PlayerView& view) : state_(state), view_(view) {}

  void openAudioFile();
  void openAudioStream(const std::string& source, SourceKind kind, const std::string& display);
  void togglePlayPause();
  void seekBackward();
  void seekForward();
  void cycleSpeed();
  void stepSpeed(bool up);
  void onPlaybackTick();
  void onSeekBarChanged(int percent);

 private:
  double positionSeconds();
  void seekBy(double seconds);
  void applySpeed();

  AppState& state_;
  PlayerView& view_;
};

}  // namespace zelvo::audio
