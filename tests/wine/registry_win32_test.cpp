// The settings store on the real registry of the current user, under a scratch key that is
// removed before and after every test.
#include <gtest/gtest.h>

#include "contract/RegistryContract.h"
#include "settings/Catalogue.h"
#include "settings/Win32Registry.h"
#include "support/WineTest.h"

namespace {

constexpr char kScratchRoot[] = "Software\\VantrelRegistryTest";

struct Win32Traits {
  static std::unique_ptr<vt::RegistryBackend> Make() { return std::make_unique<vt::Win32Registry>(); }
  static std::string Scratch() { return std::string(kScratchRoot) + "\\Vantrel"; }
  static void Cleanup(vt::RegistryBackend&) { vtt::DeleteTree(kScratchRoot); }
};

}  // namespace

namespace vtc {
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, RegistryContract, Win32Traits);
}

namespace {

class Win32Store : public ::testing::Test {
 protected:
  void SetUp() override {
    vtt::DeleteTree(kScratchRoot);
    reg.SetBaseKey(base);
  }
  void TearDown() override { vtt::DeleteTree(kScratchRoot); }
  std::string base = Win32Traits::Scratch();
  vt::Win32Registry backend;
  vt::TQRegistry reg{backend};
};

// What the store writes is what other programs (and reg.exe) see, and the other way round.
TEST_F(Win32Store, SharesTheHiveWithOtherReaders) {
  reg.WriteString("Options?HotFontName", "Tahoma");
  reg.WriteInteger("Options\\NOTEPAD.EXE?VTWidth", 777);
  std::string text;
  EXPECT_TRUE(vtt::ReadString(base + "\\Options", "HotFontName", &text));
  EXPECT_EQ(text, "Tahoma");
  DWORD width = 0;
  EXPECT_TRUE(vtt::ReadDword(base + "\\Options\\notepad.exe", "vtwidth", &width));
  EXPECT_EQ(width, 777u);

  vtt::WriteDword(base + "\\Options\\WORDPAD.EXE", "ShowPreview", 2);
  vtt::WriteDword(base + "\\Options\\WORDPAD.EXE", "VTLeft", static_cast<DWORD>(-40));
  vt::AppSettings s = vt::ReadAppSettings(reg, "WordPad.exe");
  EXPECT_FALSE(s.showPreview);
  EXPECT_EQ(s.left, -40);
  EXPECT_EQ(s.width, 635);
}

TEST_F(Win32Store, ValuesOfEveryRegistryTypeAreHandled) {
  vt::RegistryBackend::Key key = backend.Open(base + "\\T", true);
  ASSERT_NE(key, 0u);
  const wchar_t multi[] = L"a\0b\0";
  EXPECT_TRUE(backend.SetRaw(key, "Multi", REG_MULTI_SZ, multi, sizeof multi));
  std::uint64_t q = 5;
  EXPECT_TRUE(backend.SetRaw(key, "Qword", 11 /* REG_QWORD */, &q, sizeof q));
  backend.Close(key);

  std::int32_t n = 9;
  EXPECT_FALSE(reg.ReadInteger("T?Qword", n));
  EXPECT_EQ(n, 9);
  std::uint8_t buffer[16];
  int size = sizeof buffer;
  EXPECT_EQ(reg.ReadBinary("T?Qword", buffer, size), 8);  // not a string or a DWORD: bytes
  std::string text = "keep";
  EXPECT_FALSE(reg.ReadString("T?Multi", text));
  EXPECT_EQ(text, "keep");
}

// A value far larger than any setting, left by someone else, is refused without allocating it.
TEST_F(Win32Store, OversizedValuesAreNotRead) {
  vt::RegistryBackend::Key key = backend.Open(base + "\\Huge", true);
  ASSERT_NE(key, 0u);
  std::vector<std::uint8_t> huge((1u << 20) + 1, 0x41);
  EXPECT_TRUE(backend.SetRaw(key, "Bin", REG_BINARY, huge.data(), huge.size()));
  vt::RegType type;
  std::vector<std::uint8_t> data;
  EXPECT_FALSE(backend.Query(key, "Bin", &type, &data));
  huge.resize(1u << 20);  // the largest accepted
  EXPECT_TRUE(backend.SetRaw(key, "Edge", REG_BINARY, huge.data(), huge.size()));
  EXPECT_TRUE(backend.Query(key, "Edge", &type, &data));
  EXPECT_EQ(data.size(), huge.size());
  backend.Close(key);

  std::vector<std::uint8_t> buffer(2u << 20);
  int size = static_cast<int>(buffer.size());
  EXPECT_EQ(reg.ReadBinary("Huge?Bin", buffer.data(), size), 0);
  EXPECT_EQ(size, 0);
}

}  // namespace
