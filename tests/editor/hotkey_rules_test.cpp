// The hotkey table, the identifiers and the rule that turns a notification
// into a command, with a stubbed key-state reader.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "editor/hotkey_table.h"

using namespace zelvo::editor;
using C = HotkeyCommand;

namespace {

std::array<int, kHotkeyTotal> idsFrom(int first) {
  std::array<int, kHotkeyTotal> ids{};
  for (int i = 0; i < kHotkeyTotal; ++i) ids[i] = first + i;
  return ids;
}

int idOf(const std::array<int, kHotkeyTotal>& ids, C command, int argument = 0) {
  for (int i = 0; i < kHotkeyTotal; ++i)
    if (kHotkeyTable[i].command == command && kHotkeyTable[i].argument == argument) return ids[i];
  return -1;
}

KeyStateReader keys(std::map<int, short> states) {
  return [states](int key) {
    const auto found = states.find(key);
    return found == states.end() ? short{0} : found->second;
  };
}

const HotkeyOptions kBothOn{true, true};

}  // namespace

TEST(HotkeyTable, EveryKeyChordIsRegisteredOnce) {
  std::set<std::pair<unsigned, unsigned>> chords;
  for (const HotkeyEntry& entry : kHotkeyTable) EXPECT_TRUE(chords.insert({entry.virtualKey, entry.modifiers}).second);
  EXPECT_EQ(kHotkeyTable[0].virtualKey, 0x73u) << "F4 first";
  EXPECT_EQ(kHotkeyTable[20].command, C::ShiftSeek);
  EXPECT_EQ(kHotkeyTable[20].virtualKey, 0u);
  EXPECT_EQ(kHotkeyTable[20].modifiers, kModShift);
  EXPECT_EQ(kHotkeyTable[24].modifiers, kModCtrl | kModShift) << "Ctrl+Shift+S";
  EXPECT_EQ(kHotkeyTable[30].command, C::ToggleUnderline);
}

TEST(HotkeyIdSource, CountsUpFrom33001AndNeverRepeats) {
  HotkeyIdSource source;
  EXPECT_EQ(source.take(), 33001);
  EXPECT_EQ(source.take(), 33002);
  for (int i = 0; i < 100; ++i) source.take();
  EXPECT_EQ(source.take(), 33103);
}

TEST(HotkeyIdSource, StaysWithinTheApplicationsRange) {
  HotkeyIdSource source;
  int last = 0;
  for (int i = kFirstHotkeyId; i <= kLastHotkeyId; ++i) last = source.take();
  EXPECT_EQ(last, 0xBFFF);
  EXPECT_EQ(source.take(), 33001);
}

TEST(ResolveHotkey, RunsTheCommandAtTheIdentifiersPosition) {
  const auto ids = idsFrom(33001);
  struct Case {
    C command;
    int argument;
  } cases[] = {{C::TogglePlayPause, 0}, {C::SeekForward, 0},    {C::SpeedUp, 0},       {C::SizeDown, 0},
               {C::ShortcutColour, 3},  {C::ShortcutFont, 5},   {C::SaveDocumentAs, 0}, {C::InsertTimeMarker, 0},
               {C::OpenDatePicker, 0},  {C::ToggleUnderline, 0}};
  for (const Case& c : cases) {
    const auto action = resolveHotkey(ids, idOf(ids, c.command, c.argument), kBothOn, keys({}));
    ASSERT_TRUE(action.has_value());
    EXPECT_EQ(*action, (HotkeyAction{c.command, c.argument}));
  }
}

TEST(ResolveHotkey, UnknownIdentifiersAndFailedRegistrationsDoNothing) {
  auto ids = idsFrom(33001);
  EXPECT_FALSE(resolveHotkey(ids, 32000, kBothOn, keys({})));
  EXPECT_FALSE(resolveHotkey(ids, 0, kBothOn, keys({})));
  ids[5] = 0;  // Alt+Right taken by another program
  EXPECT_FALSE(resolveHotkey(ids, 0, kBothOn, keys({})));
  EXPECT_EQ(resolveHotkey(ids, ids[4], kBothOn, keys({}))->command, C::SpeedDown);
}

TEST(ResolveHotkey, TabPlaysOnlyWithItsOptionOn) {
  const auto ids = idsFrom(33001);
  const int tab = idOf(ids, C::TabPlayPause);
  EXPECT_EQ(resolveHotkey(ids, tab, {true, false}, keys({}))->command, C::TogglePlayPause);
  EXPECT_FALSE(resolveHotkey(ids, tab, {false, true}, keys({}))) << "registered and swallowed";
}

TEST(ResolveHotkey, ShiftRuleReadsLeftThenRightAndWantsExactlyOne) {
  const auto ids = idsFrom(33001);
  const int shift = idOf(ids, C::ShiftSeek);
  struct Case {
    short left, right;
    std::optional<C> expected;
  } cases[] = {
      {1, 0, C::SeekBackward},
      {0, 1, C::SeekForward},
      {1, 1, C::SeekBackward},              // left is asked first
      {short(0x8001), 1, C::SeekForward},   // left still held: not exactly 1
      {short(0x8000), short(0x8000), std::nullopt},
      {0, 0, std::nullopt},
      {2, 3, std::nullopt},
  };
  for (const Case& c : cases) {
    const auto action = resolveHotkey(ids, shift, kBothOn, keys({{kLeftShiftKey, c.left}, {kRightShiftKey, c.right}}));
    EXPECT_EQ(action ? std::optional<C>(action->command) : std::nullopt, c.expected) << c.left << "/" << c.right;
  }
  EXPECT_FALSE(resolveHotkey(ids, shift, {true, false}, keys({{kLeftShiftKey, 1}}))) << "option off";
}

TEST(ResolveHotkey, ShiftRuleDoesNotReadTheRightKeyAfterTheLeftMatched) {
  // GetAsyncKeyState clears the "pressed since" bit when read: an unneeded
  // read of the right key would lose its press.
  const auto ids = idsFrom(33001);
  std::vector<int> reads;
  const KeyStateReader reader = [&](int key) {
    reads.push_back(key);
    return short{1};
  };
  resolveHotkey(ids, idOf(ids, C::ShiftSeek), kBothOn, reader);
  EXPECT_EQ(reads, std::vector<int>{kLeftShiftKey});
}
