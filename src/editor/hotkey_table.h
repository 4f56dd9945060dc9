// The 31 global hotkeys: which keys, in which order, and which command each
// runs; the identifier source; and the rule that turns a notification into a
// command. No <windows.h> here: the modifier values equal MOD_ALT,
// MOD_CONTROL and MOD_SHIFT, and the key state comes through a reader.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

namespace zelvo::editor {

inline constexpr int kHotkeyTotal = 31;
inline constexpr int kFirstHotkeyId = 33001;

inline constexpr unsigned kModAlt = 0x1, kModCtrl = 0x2, kModShift = 0x4;
inline constexpr int kLeftShiftKey = 160, kRightShiftKey = 161;

enum class HotkeyCommand {
  TogglePlayPause,
  SeekBackward,
  SeekForward,
  OpenAudioFile,
  SpeedDown,
  SpeedUp,
  SizeDown,
  SizeUp,
  ShortcutColour,  // argument 1..6
  ShortcutFont,    // argument 1..5
  TabPlayPause,
  ShiftSeek,
  OpenDocument,
  NewDocument,
  SaveDocument,
  SaveDocumentAs,
  InsertTimeMarker,
  InsertSeparator,
  OpenDatePicker,
  ToggleBold,
  ToggleItalic,
  ToggleUnderline,
};

struct HotkeyEntry {
  unsigned virtualKey;
  unsigned modifiers;
  HotkeyCommand command;
  int argument;
};

// In registration order; position i of hotkeyIds belongs to entry i.
extern const std::array<HotkeyEntry, kHotkeyTotal> kHotkeyTable;

// The last identifier an application may register (higher ones belong to
// shared libraries).
inline constexpr int kLastHotkeyId = 0xBFFF;

// Identifiers count up over the run and are not handed out again, so a
// notification still queued for a released key cannot run another one. Past
// 0xBFFF (after some 520 registrations of all 31 keys) they start again at
// 33001: keys released that long ago have no notification left in the queue.
class HotkeyIdSource {
 public:
  int take() {
    const int id = next_;
    next_ = next_ == kLastHotkeyId ? kFirstHotkeyId : next_ + 1;
    return id;
  }
  int peek() const { return next_; }

 private:
  int next_ = kFirstHotkeyId;
};

// The asynchronous state of a key as GetAsyncKeyState reports it.
using KeyStateReader = std::function<short(int virtualKey)>;

struct HotkeyOptions {
  bool tabEnabled = false;
  bool shiftEnabled = false;
};

struct HotkeyAction {
  HotkeyCommand command;
  int argument = 0;
  bool operator==(const HotkeyAction&) const = default;
};

// What a notification with `id` runs: nothing for an unknown identifier (or
// 0), for Tab or Shift with their option off, and for Shift when neither
// Shift key reads exactly 1. Tab comes back as TogglePlayPause and Shift as
// SeekBackward or SeekForward.
std::optional<HotkeyAction> resolveHotkey(const std::array<int, kHotkeyTotal>& ids, int id,
                                          const HotkeyOptions& options, const KeyStateReader& keyState);

}  // namespace zelvo::editor
