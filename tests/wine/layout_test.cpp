// Handles as the protocol carries them: 32 bits in every build, widened back by sign
// extension, so that a 64-bit program finds the same window or key a 32-bit one named.
#include <gtest/gtest.h>
#include <windows.h>

#include "protocol/Handle32.h"
#include "util/Handles.h"

TEST(Handles, SurviveTheTripThroughThirtyTwoBits) {
  HWND w = CreateWindowExA(0, "STATIC", "probe", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(vt::FromHandle32<HWND>(vt::Handle32(w)), w);
  EXPECT_TRUE(IsWindow(vt::FromHandle32<HWND>(vt::Handle32(w))));
  DestroyWindow(w);

  // HKEY_CURRENT_USER is 0x80000001 in 32 bits; widened without its sign it would be no key.
  EXPECT_EQ(vt::FromHandle32<HKEY>(vt::Handle32(HKEY_CURRENT_USER)), HKEY_CURRENT_USER);
  EXPECT_TRUE(vt::IsPredefinedKey(HKEY_CURRENT_USER));
  EXPECT_TRUE(vt::IsPredefinedKey(HKEY_CLASSES_ROOT));
  HKEY opened = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &opened), ERROR_SUCCESS);
  EXPECT_FALSE(vt::IsPredefinedKey(opened)) << "an opened key must be closed";
  RegCloseKey(opened);
}
