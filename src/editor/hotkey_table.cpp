#include "editor/hotkey_table.h"

namespace zelvo::editor {

using C = HotkeyCommand;

const std::array<HotkeyEntry, kHotkeyTotal> kHotkeyTable{{
    {0x73, 0, C::TogglePlayPause, 0},          // F4
    {0x74, 0, C::SeekBackward, 0},             // F5
    {0x75, 0, C::SeekForward, 0},              // F6
    {0x4F, kModAlt, C::OpenAudioFile, 0},      // Alt+O
    {0x25, kModAlt, C::SpeedDown, 0},          // Alt+Left
    {0x27, kModAlt, C::SpeedUp, 0},            // Alt+Right
    {0x28, kModAlt, C::SizeDown, 0},           // Alt+Down
    {0x26, kModAlt, C::SizeUp, 0},             // Alt+Up
    {0x31, kModAlt, C::ShortcutColour, 1},     // Alt+1 .. Alt+6
    {0x32, kModAlt, C::ShortcutColour, 2},
    {0x33, kModAlt, C::ShortcutColour, 3},
    {0x34, kModAlt, C::ShortcutColour, 4},
    {0x35, kModAlt, C::ShortcutColour, 5},
    {0x36, kModAlt, C::ShortcutColour, 6},
    {0x51, kModAlt, C::ShortcutFont, 1},       // Alt+Q, W, E, R, T
    {0x57, kModAlt, C::ShortcutFont, 2},
    {0x45, kModAlt, C::ShortcutFont, 3},
    {0x52, kModAlt, C::ShortcutFont, 4},
    {0x54, kModAlt, C::ShortcutFont, 5},
    {0x09, 0, C::TabPlayPause, 0},             // Tab
    {0x00, kModShift, C::ShiftSeek, 0},        // Shift alone
    {0x4F, kModCtrl, C::OpenDocument, 0},      // Ctrl+O
    {0x4E, kModCtrl, C::NewDocument, 0},       // Ctrl+N
    {0x53, kModCtrl, C::SaveDocument, 0},      // Ctrl+S
    {0x53, kModCtrl | kModShift, C::SaveDocumentAs, 0},
    {0x4D, kModCtrl, C::InsertTimeMarker, 0},  // Ctrl+M
    {0x4C, kModCtrl, C::InsertSeparator, 0},   // Ctrl+L
    {0x54, kModCtrl, C::OpenDatePicker, 0},    // Ctrl+T
    {0x42, kModCtrl, C::ToggleBold, 0},        // Ctrl+B
    {0x49, kModCtrl, C::ToggleItalic, 0},      // Ctrl+I
    {0x55, kModCtrl, C::ToggleUnderline, 0},   // Ctrl+U
}};

std::optional<HotkeyAction> resolveHotkey(const std::array<int, kHotkeyTotal>& ids, int id,
                                          const HotkeyOptions& options, const KeyStateReader& keyState) {
  if (id == 0) return std::nullopt;  // the mark of a failed registration
  for (std::size_t i = 0; i < ids.size(); ++i) {
    if (ids[i] != id) continue;
    const HotkeyEntry& entry = kHotkeyTable[i];
    switch (entry.command) {
      case C::TabPlayPause:
        if (!options.tabEnabled) return std::nullopt;
        return HotkeyAction{C::TogglePlayPause};
      case C::ShiftSeek:
        if (!options.shiftEnabled || !keyState) return std::nullopt;
        // Exactly 1: pressed since the last query and already let go.
        if (keyState(kLeftShiftKey) == 1) return HotkeyAction{C::SeekBackward};
        if (keyState(kRightShiftKey) == 1) return HotkeyAction{C::SeekForward};
        return std::nullopt;
      default:
        return HotkeyAction{entry.command, entry.argument};
    }
  }
  return std::nullopt;
}

}  // namespace zelvo::editor
