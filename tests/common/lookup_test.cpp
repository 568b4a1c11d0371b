#include "common/lookup.h"

#include <gtest/gtest.h>

#include "common/wow64.h"

namespace {

TEST(LookUp, FindsExportsOfLoadedModulesOnly) {
  using TickCount = DWORD(WINAPI*)();
  const auto tickCount = common::LookUp<TickCount>(L"kernel32.dll", "GetTickCount");
  ASSERT_NE(tickCount, nullptr);
  EXPECT_EQ(tickCount, &GetTickCount);
  EXPECT_EQ(common::LookUp<TickCount>(L"kernel32.dll", "NoSuchFunctionAnywhere"), nullptr);
  // Not loaded by the test program: looked up, never loaded.
  EXPECT_EQ(GetModuleHandleW(L"dwmapi.dll"), nullptr);
  EXPECT_EQ(common::LookUp<TickCount>(L"dwmapi.dll", "DwmFlush"), nullptr);
  EXPECT_EQ(GetModuleHandleW(L"dwmapi.dll"), nullptr);
}

// Stand-ins for the system's functions, with what they answer and how they were called.
struct FakeWow64 {
  BOOL succeeds = TRUE;
  BOOL wow64 = FALSE;
  PVOID oldValue = reinterpret_cast<PVOID>(0x5a5a);
  int disables = 0;
  int reverts = 0;
  PVOID revertedWith = nullptr;
};
FakeWow64 fake;

BOOL WINAPI FakeIsWow64Process(HANDLE process, PBOOL wow64) {
  EXPECT_EQ(process, GetCurrentProcess());
  *wow64 = fake.wow64;
  return fake.succeeds;
}
BOOL WINAPI FakeDisable(PVOID* oldValue) {
  ++fake.disables;
  if (fake.succeeds) *oldValue = fake.oldValue;
  return fake.succeeds;
}
BOOL WINAPI FakeRevert(PVOID oldValue) {
  ++fake.reverts;
  fake.revertedWith = oldValue;
  return TRUE;
}

TEST(Wow64, IsWow64OnlyWhenTheSystemSaysSo) {
  struct Case {
    const char* name;
    common::IsWow64ProcessFunction function;
    BOOL succeeds, wow64;
    bool expected;
  };
  const Case cases[] = {
      {"missing function", nullptr, TRUE, TRUE, false},
      {"failing query", &FakeIsWow64Process, FALSE, TRUE, false},
      {"32-bit Windows", &FakeIsWow64Process, TRUE, FALSE, false},
      {"64-bit Windows", &FakeIsWow64Process, TRUE, TRUE, true},
  };
  for (const Case& c : cases) {
    fake = {.succeeds = c.succeeds, .wow64 = c.wow64};
    EXPECT_EQ(common::IsWow64(c.function), c.expected) << c.name;
  }
  // The test program is a 64-bit one.
  EXPECT_FALSE(common::IsWow64());
}

TEST(Wow64, RedirectionIsRestoredExactlyWhenItWasTurnedOff) {
  struct Case {
    const char* name;
    common::Wow64DisableFunction disable;
    common::Wow64RevertFunction revert;
    BOOL succeeds;
    bool active;
    int disables;
  };
  const Case cases[] = {
      {"32-bit XP: neither function", nullptr, nullptr, TRUE, false, 0},
      {"no way back", &FakeDisable, nullptr, TRUE, false, 0},
      {"turning off fails", &FakeDisable, &FakeRevert, FALSE, false, 1},
      {"turned off", &FakeDisable, &FakeRevert, TRUE, true, 1},
  };
  for (const Case& c : cases) {
    fake = {.succeeds = c.succeeds};
    {
      common::Wow64RedirectionOff scope(c.disable, c.revert);
      EXPECT_EQ(scope.Active(), c.active) << c.name;
      EXPECT_EQ(fake.reverts, 0) << c.name;
    }
    EXPECT_EQ(fake.disables, c.disables) << c.name;
    EXPECT_EQ(fake.reverts, c.active ? 1 : 0) << c.name;
    EXPECT_EQ(fake.revertedWith, c.active ? fake.oldValue : nullptr) << c.name;
  }
}

TEST(Wow64, A64BitProgramHasNoRedirectionToTurnOff) {
  // Wine, like 64-bit Windows, refuses to turn it off in a 64-bit program; the scope does nothing.
  common::Wow64RedirectionOff scope;
  EXPECT_FALSE(scope.Active());
}

}  // namespace
