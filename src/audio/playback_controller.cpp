#include "audio/playback_controller.h"

#include "audio/playback_rules.h"
#include "zelvo_audio_api.h"

namespace zelvo::audio {
namespace {

std::string fileNameOf(const std::string& path) {
  const auto slash = path.rfind('\\');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

void PlaybackController::openAudioFile() {
  const std::optional<std::string> path = view_.chooseAudioFile();
  if (!path || path->empty() || path->find('\\') == std::string::npos) return;
  view_.setCaption(std::string("Zelvo录音整理工具6.1  ") + fileNameOf(*path));
  state_.historySuppressed = false;
  openAudioStream(*path, SourceKind::LocalFile, "");
}

void PlaybackController::openAudioStream(const std::string& source, SourceKind kind, const std::string& display) {
  AudioPlayer& player = state_.audioPlayer;
  if (state_.currentStream != 0) player.freeStream(state_.currentStream);
  state_.currentStream = kind == SourceKind::LocalFile ? player.createStream(source, "", "")
                                                       : player.createStream("", "", source);
  // Network addresses are opened by a worker that waits for the first data
  // before it hands the stream over; that path joins with network audio.

  if (player.play(state_.currentStream, true)) {
    // Adding the entry to the play history (display text, else the source,
    // and the kind) joins here with the history list.
    (void)display;
    float frequency = 0;
    if (!library::channelGetAttribute(state_.currentStream, BASS_ATTRIB_FREQ, &frequency)) frequency = 0;
    state_.baseFrequency = frequency;
    state_.speedStep = playback::kNormalStep;
    // Opening plays at normal speed, so the speed button says so too.
    view_.showSpeedIcons(playback::kNormalStep);
    view_.setLengthText(playback::formatClock(player.bytesToSeconds(state_.currentStream, player.getLength(state_.currentStream))));
    view_.showPauseIcons();
    view_.setTickInterval(kTickMilliseconds);
  }
  view_.showNextTip();
}

void PlaybackController::togglePlayPause() {
  if (state_.currentStream == 0) return;
  AudioPlayer& player = state_.audioPlayer;
  switch (player.isActive(state_.currentStream)) {
    case BASS_ACTIVE_PAUSED:
      player.play(state_.currentStream, false);
      view_.showPauseIcons();
      break;
    case BASS_ACTIVE_STOPPED:  // it had ended: from the beginning
      player.play(state_.currentStream, true);
      view_.showPauseIcons();
      view_.setTickInterval(kTickMilliseconds);
      break;
    case BASS_ACTIVE_PLAYING:
      player.pause(state_.currentStream);
      view_.showPlayIcons();
      break;
    default:  // stalled: waiting for data
      break;
  }
}

double PlaybackController::positionSeconds() {
  AudioPlayer& player = state_.audioPlayer;
  return player.bytesToSeconds(state_.currentStream, player.getPosition(state_.currentStream));
}

void PlaybackController::seekBy(double seconds) {
  if (state_.currentStream == 0) return;
  AudioPlayer& player = state_.audioPlayer;
  const DWORD active = player.isActive(state_.currentStream);
  if (active != BASS_ACTIVE_PLAYING && active != BASS_ACTIVE_PAUSED) return;
  const double target = positionSeconds() + seconds;
  if (seconds < 0 && target <= 0) {
    player.setPosition(state_.currentStream, 0);
  } else {
    // Forward is not held to the length: the library refuses a position past
    // the end and the stream stays where it was.
    player.setPosition(state_.currentStream, player.secondsToBytes(state_.currentStream, target));
  }
  // Paused, the label moves at once; the tick puts the real position back.
  if (active == BASS_ACTIVE_PAUSED)
    view_.setPositionText(seconds < 0 && target <= 0 ? "00:00" : playback::formatClock(target));
}

void PlaybackController::seekBackward() { seekBy(-playback::kSeekSeconds); }
void PlaybackController::seekForward() { seekBy(playback::kSeekSeconds); }

void PlaybackController::applySpeed() {
  library::channelSlideAttribute(state_.currentStream, BASS_ATTRIB_FREQ,
                                 playback::rateForStep(state_.speedStep, state_.baseFrequency), 0);
  view_.showSpeedIcons(state_.speedStep);
}

void PlaybackController::cycleSpeed() {
  if (state_.currentStream == 0) return;
  state_.speedStep = playback::cycledStep(state_.speedStep);
  applySpeed();
}

void PlaybackController::stepSpeed(bool up) {
  if (state_.currentStream == 0) return;
  state_.speedStep = playback::steppedStep(state_.speedStep, up);
  applySpeed();
}

void PlaybackController::onPlaybackTick() {
  AudioPlayer& player = state_.audioPlayer;
  const HSTREAM stream = state_.currentStream;
  const QWORD position = player.getPosition(stream);
  const QWORD length = player.getLength(stream);
  view_.setPositionText(playback::formatClock(player.bytesToSeconds(stream, position)));
  // The library reports -1 for "no answer"; the bar shows nothing then.
  const bool known = length != 0 && length != static_cast<QWORD>(-1) && position != static_cast<QWORD>(-1);
  view_.setSeekValue(known ? static_cast<float>(static_cast<double>(position) / static_cast<double>(length) * 100) : 0);
  const QWORD buffered = library::streamGetFilePosition(stream, BASS_FILEPOS_BUFFER);
  const QWORD total = library::streamGetFilePosition(stream, BASS_FILEPOS_END);
  view_.setSeekSecondaryValue(playback::bufferedPercent(
      buffered == static_cast<QWORD>(-1) ? -1.0 : static_cast<double>(buffered),
      total == static_cast<QWORD>(-1) ? -1.0 : static_cast<double>(total)));
  if (player.isActive(stream) == BASS_ACTIVE_STOPPED) {
    view_.showPlayIcons();
    view_.setSeekValue(0);
    view_.setPositionText("");
    view_.setTickInterval(0);
    if (state_.lectureModeOn) {
      state_.lectureModeOn = false;
      view_.showLectureModeOff();
    }
  }
}

void PlaybackController::onSeekBarChanged(int percent) {
  AudioPlayer& player = state_.audioPlayer;
  const HSTREAM stream = state_.currentStream;
  switch (player.isActive(stream)) {
    case BASS_ACTIVE_STOPPED:
      view_.setSeekValue(0);
      break;
    case BASS_ACTIVE_PLAYING:
      player.setPosition(stream, static_cast<QWORD>(static_cast<double>(player.getLength(stream)) * percent / 100));
      break;
    case BASS_ACTIVE_PAUSED:
      player.setPosition(stream, static_cast<QWORD>(static_cast<double>(player.getLength(stream)) * percent / 100));
      view_.setPositionText(playback::formatClock(positionSeconds()));
      break;
    default:
      break;
  }
  // A seek while lecture mode runs restarts its follower (unless the thumb
  // is still being dragged); that joins with lecture mode.
}

}  // namespace zelvo::audio
