#include <gtest/gtest.h>

#include "contract/RegistryContract.h"
#include "settings/MemoryRegistry.h"

namespace {

struct MemoryTraits {
  static std::unique_ptr<vt::RegistryBackend> Make() { return std::make_unique<vt::MemoryRegistry>(); }
  static std::string Scratch() { return "Software\\Brisvane\\Vantrel"; }
  static void Cleanup(vt::RegistryBackend&) {}  // every test has a registry of its own
};

}  // namespace

namespace vtc {
INSTANTIATE_TYPED_TEST_SUITE_P(Memory, RegistryContract, MemoryTraits);
}

namespace {

// Each store call opens one key and closes it again, on success and on every failure.
TEST(MemoryRegistry, StoreLeavesNoKeyOpen) {
  vt::MemoryRegistry mem;
  vt::TQRegistry reg(mem);
  reg.SetBaseKey("Software\\Brisvane\\Vantrel");
  reg.WriteString("S?Text", "abc");
  reg.WriteInteger("S?Num", 1);
  std::uint8_t bytes[4] = {2, 0, 0, 0};
  reg.WriteBinary("S?Bin", bytes, 4);
  std::string text;
  std::int32_t n;
  int size = 2;
  reg.ReadString("S?Text", text);
  reg.ReadString("S?Num", text);   // wrong type
  reg.ReadInteger("S?Text", n);    // wrong type
  reg.ReadBinary("S?Bin", bytes, size);  // too small
  reg.ReadInteger("Missing?Num", n);
  EXPECT_EQ(mem.OpenKeys(), 0u);
}

}  // namespace
