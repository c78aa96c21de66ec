// The settings store's behaviour on a registry backend: path syntax, typed reads and writes.
// One suite, instantiated with each backend. A backend's traits type gives:
//   static std::unique_ptr<vt::RegistryBackend> Make();  // a registry to work in
//   static std::string Scratch();                         // a key path of its own, below the root
//   static void Cleanup(vt::RegistryBackend&);            // removes Scratch() and what lies below
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "settings/QRegistry.h"
#include "settings/RegistryBackend.h"

namespace vtc {

template <typename Traits>
class RegistryContract : public ::testing::Test {
 protected:
  void SetUp() override {
    backend_ = Traits::Make();
    base_ = Traits::Scratch();
    Traits::Cleanup(*backend_);
    store_ = std::make_unique<vt::TQRegistry>(*backend_);
    store_->SetBaseKey(base_);
  }
  void TearDown() override {
    if (backend_) Traits::Cleanup(*backend_);
  }

  vt::TQRegistry& Store() { return *store_; }

  bool KeyExists(const std::string& below) {
    vt::RegistryBackend::Key key = backend_->Open(Below(below), false);
    if (key) backend_->Close(key);
    return key != 0;
  }
  // Stores raw data of any type, bypassing the store (values a user or another program left).
  void Put(const std::string& below, const std::string& name, vt::RegType type, const void* data,
           std::size_t size) {
    vt::RegistryBackend::Key key = backend_->Open(Below(below), true);
    ASSERT_NE(key, 0u);
    EXPECT_TRUE(backend_->Set(key, name, type, data, size));
    backend_->Close(key);
  }
  // What is stored, read without the store: false when absent.
  bool Get(const std::string& below, const std::string& name, vt::RegType* type, std::vector<std::uint8_t>* data) {
    vt::RegistryBackend::Key key = backend_->Open(Below(below), false);
    if (!key) return false;
    bool found = backend_->Query(key, name, type, data);
    backend_->Close(key);
    return found;
  }
  std::string Below(const std::string& section) const {
    return section.empty() ? base_ : base_ + "\\" + section;
  }

  std::unique_ptr<vt::RegistryBackend> backend_;
  std::unique_ptr<vt::TQRegistry> store_;
  std::string base_;
};

TYPED_TEST_SUITE_P(RegistryContract);

TYPED_TEST_P(RegistryContract, PathsSplitAtTheFirstQuestionMark) {
  std::string section, name;
  vt::TQRegistry::GetParams("A?B?C", section, name);
  EXPECT_EQ(section, "A");
  EXPECT_EQ(name, "B?C");
  vt::TQRegistry::GetParams("?AutoRun", section, name);
  EXPECT_EQ(section, "");
  EXPECT_EQ(name, "AutoRun");
  vt::TQRegistry::GetParams(" Sec \\ ? Name ", section, name);  // nothing is trimmed
  EXPECT_EQ(section, " Sec \\ ");
  EXPECT_EQ(name, " Name ");

  try {
    vt::TQRegistry::GetParams("NoMark", section, name);
    FAIL() << "a path without '?' must raise";
  } catch (const vt::RegistryPathError& e) {
    EXPECT_STREQ(e.what(), "Error in QRegistry.GetParams");
  }
  std::string untouched = "keep";
  EXPECT_THROW(this->Store().ReadString("NoMark", untouched), vt::RegistryPathError);
  EXPECT_THROW(this->Store().WriteInteger("", 1), vt::RegistryPathError);
  EXPECT_EQ(untouched, "keep");
}

TYPED_TEST_P(RegistryContract, KeyPathsBuildOnTheBaseKey) {
  vt::TQRegistry& reg = this->Store();
  EXPECT_EQ(reg.KeyPath(""), this->base_);
  EXPECT_EQ(reg.KeyPath("Options\\NOTEPAD.EXE"), this->base_ + "\\Options\\NOTEPAD.EXE");
  reg.SetBaseKey("");
  EXPECT_EQ(reg.KeyPath("Options"), "Options");  // from the root, not "\Options"
  EXPECT_EQ(reg.KeyPath(""), "");                 // the root itself
}

TYPED_TEST_P(RegistryContract, PathsAddressKeysAndValues) {
  vt::TQRegistry& reg = this->Store();
  reg.WriteInteger("?AutoRun", 1);
  reg.WriteString("IgnoreList?Ignore3", "NOTE.EXE");
  reg.WriteInteger("A?B?C", 7);
  reg.WriteString("A?", "default");

  vt::RegType type = vt::RegType::Other;
  std::vector<std::uint8_t> data;
  ASSERT_TRUE(this->Get("", "AutoRun", &type, &data));
  EXPECT_EQ(type, vt::RegType::Dword);
  ASSERT_TRUE(this->Get("IgnoreList", "Ignore3", &type, &data));
  EXPECT_EQ(type, vt::RegType::String);
  ASSERT_TRUE(this->Get("A", "B?C", &type, &data));
  EXPECT_EQ(type, vt::RegType::Dword);
  ASSERT_TRUE(this->Get("A", "", &type, &data));
  EXPECT_EQ(std::string(data.begin(), data.end()), std::string("default", 8));

  std::string text;
  EXPECT_TRUE(reg.ReadString("A?", text));
  EXPECT_EQ(text, "default");
  std::int32_t n = 0;
  EXPECT_TRUE(reg.ReadInteger("a?b?c", n));  // names ignore case
  EXPECT_EQ(n, 7);
}

TYPED_TEST_P(RegistryContract, NestedSectionsAreCreatedOnFirstWrite) {
  vt::TQRegistry& reg = this->Store();
  EXPECT_FALSE(this->KeyExists("Options"));
  reg.WriteInteger("Options\\NOTEPAD.EXE?VTWidth", 640);
  EXPECT_TRUE(this->KeyExists("Options"));
  EXPECT_TRUE(this->KeyExists("Options\\NOTEPAD.EXE"));
  std::int32_t width = 0;
  EXPECT_TRUE(reg.ReadInteger("options\\Notepad.exe?vtwidth", width));
  EXPECT_EQ(width, 640);
}

TYPED_TEST_P(RegistryContract, LongValueNamesAreCutAtAThousandCharacters) {
  vt::TQRegistry& reg = this->Store();
  std::string name1000(1000, 'n');
  reg.WriteString("S?" + name1000 + "tail-beyond", "cut");
  std::string text;
  EXPECT_TRUE(reg.ReadString("S?" + name1000, text));
  EXPECT_EQ(text, "cut");
  vt::RegType type;
  std::vector<std::uint8_t> data;
  EXPECT_FALSE(this->Get("S", name1000 + "tail-beyond", &type, &data));
}

TYPED_TEST_P(RegistryContract, ReadsOfAMissingKeyFailAndCreateNothing) {
  vt::TQRegistry& reg = this->Store();
  std::string text = "keep";
  std::int32_t n = 42;
  std::uint8_t buffer[8] = {9, 9, 9, 9, 9, 9, 9, 9};
  int size = sizeof buffer;
  EXPECT_FALSE(reg.ReadString("Missing?Value", text));
  EXPECT_FALSE(reg.ReadInteger("Missing?Value", n));
  EXPECT_EQ(reg.ReadBinary("Missing?Value", buffer, size), 0);
  EXPECT_EQ(size, 0);
  EXPECT_EQ(text, "keep");
  EXPECT_EQ(n, 42);
  EXPECT_EQ(buffer[0], 9);
  EXPECT_FALSE(this->KeyExists("Missing"));
  EXPECT_FALSE(this->KeyExists(""));  // not even the base key
}

TYPED_TEST_P(RegistryContract, StringsReadBackAndAbsentValuesReadEmpty) {
  vt::TQRegistry& reg = this->Store();
  reg.WriteString("S?Name", "MS Sans Serif");
  reg.WriteString("S?Empty", "");
  vt::RegType type;
  std::vector<std::uint8_t> data;
  ASSERT_TRUE(this->Get("S", "Name", &type, &data));
  EXPECT_EQ(type, vt::RegType::String);
  EXPECT_EQ(data.size(), 14u);  // text and its NUL
  EXPECT_EQ(data.back(), 0);

  std::string text;
  EXPECT_TRUE(reg.ReadString("S?Name", text));
  EXPECT_EQ(text, "MS Sans Serif");
  text = "x";
  EXPECT_TRUE(reg.ReadString("S?Empty", text));
  EXPECT_EQ(text, "");
  text = "x";
  EXPECT_TRUE(reg.ReadString("S?Absent", text));  // existing key, missing value
  EXPECT_EQ(text, "");

  // Overwriting replaces the value and its type.
  reg.WriteInteger("S?Name", 3);
  std::int32_t n = 0;
  EXPECT_TRUE(reg.ReadInteger("S?Name", n));
  EXPECT_EQ(n, 3);
}

TYPED_TEST_P(RegistryContract, StringsOfOtherShapes) {
  vt::TQRegistry& reg = this->Store();
  const char expand[] = "%PATH%\\x";
  this->Put("S", "Expand", vt::RegType::ExpandString, expand, sizeof expand);
  const char inner[] = "abc\0def";
  this->Put("S", "Inner", vt::RegType::String, inner, sizeof inner);
  this->Put("S", "NoNul", vt::RegType::String, "abc", 3);
  const std::uint8_t bytes[] = {'a', 'b', 0};
  this->Put("S", "Bin", vt::RegType::Binary, bytes, sizeof bytes);
  std::int32_t dword = 5;
  this->Put("S", "Dword", vt::RegType::Dword, &dword, 4);

  std::string text;
  EXPECT_TRUE(reg.ReadString("S?Expand", text));
  EXPECT_EQ(text, "%PATH%\\x");  // not expanded
  EXPECT_TRUE(reg.ReadString("S?Inner", text));
  EXPECT_EQ(text, "abc");
  EXPECT_TRUE(reg.ReadString("S?NoNul", text));
  EXPECT_EQ(text, "abc");
  text = "keep";
  EXPECT_FALSE(reg.ReadString("S?Bin", text));
  EXPECT_FALSE(reg.ReadString("S?Dword", text));
  EXPECT_EQ(text, "keep");
}

TYPED_TEST_P(RegistryContract, IntegersReadOnlyFromFourByteDwords) {
  vt::TQRegistry& reg = this->Store();
  reg.WriteInteger("I?Neg", -5);
  reg.WriteInteger("I?Min", INT32_MIN);
  reg.WriteString("I?Text", "5");
  std::uint8_t be[4] = {0, 0, 0, 5};
  this->Put("I", "Big", vt::RegType::DwordBigEndian, be, 4);
  std::uint8_t four[4] = {5, 0, 0, 0};
  this->Put("I", "Bin", vt::RegType::Binary, four, 4);
  this->Put("I", "Short", vt::RegType::Dword, four, 2);
  std::uint8_t eight[8] = {5, 0, 0, 0, 0, 0, 0, 0};
  this->Put("I", "Long", vt::RegType::Dword, eight, 8);

  vt::RegType type;
  std::vector<std::uint8_t> data;
  ASSERT_TRUE(this->Get("I", "Neg", &type, &data));
  EXPECT_EQ(type, vt::RegType::Dword);
  EXPECT_EQ(data, (std::vector<std::uint8_t>{0xFB, 0xFF, 0xFF, 0xFF}));  // little-endian

  std::int32_t n = 0;
  EXPECT_TRUE(reg.ReadInteger("I?Neg", n));
  EXPECT_EQ(n, -5);
  EXPECT_TRUE(reg.ReadInteger("I?Min", n));
  EXPECT_EQ(n, INT32_MIN);
  n = 99;
  for (const char* path : {"I?Text", "I?Big", "I?Bin", "I?Short", "I?Long", "I?Absent"}) {
    EXPECT_FALSE(reg.ReadInteger(path, n)) << path;
    EXPECT_EQ(n, 99) << path;
  }
}

TYPED_TEST_P(RegistryContract, BinaryReadsRespectTheCapacity) {
  vt::TQRegistry& reg = this->Store();
  const std::uint8_t list[6] = {4, 0, 0x1F, 0x50, 0, 0};
  reg.WriteBinary("B?Folder0", list, sizeof list);
  vt::RegType type;
  std::vector<std::uint8_t> data;
  ASSERT_TRUE(this->Get("B", "Folder0", &type, &data));
  EXPECT_EQ(type, vt::RegType::Binary);
  EXPECT_EQ(data, std::vector<std::uint8_t>(list, list + 6));

  std::uint8_t buffer[6] = {};
  int size = 6;  // exactly large enough
  EXPECT_EQ(reg.ReadBinary("B?Folder0", buffer, size), 6);
  EXPECT_EQ(size, 6);
  EXPECT_EQ(std::memcmp(buffer, list, 6), 0);

  std::uint8_t small[5] = {7, 7, 7, 7, 7};
  size = 5;
  EXPECT_EQ(reg.ReadBinary("B?Folder0", small, size), 0);
  EXPECT_EQ(size, 0);
  EXPECT_EQ(small[0], 7);  // nothing copied

  size = 6;
  EXPECT_EQ(reg.ReadBinary("B?Absent", buffer, size), 0);
  EXPECT_EQ(size, 0);

  reg.WriteString("B?Text", "abc");
  reg.WriteInteger("B?Num", 1);
  for (const char* path : {"B?Text", "B?Num"}) {
    size = 6;
    EXPECT_EQ(reg.ReadBinary(path, buffer, size), 0) << path;
    EXPECT_EQ(size, 0) << path;
  }

  // A value of a type the store never writes is read as bytes.
  const std::uint8_t other[3] = {1, 2, 3};
  this->Put("B", "Other", vt::RegType::Other, other, 3);
  size = 6;
  EXPECT_EQ(reg.ReadBinary("B?Other", buffer, size), 3);
  EXPECT_EQ(buffer[2], 3);

  // Nonsense arguments store and read nothing.
  reg.WriteBinary("B?Neg", list, -1);
  reg.WriteBinary("B?Null", nullptr, 4);
  EXPECT_FALSE(this->Get("B", "Neg", &type, &data));
  EXPECT_FALSE(this->Get("B", "Null", &type, &data));
  size = 6;
  EXPECT_EQ(reg.ReadBinary("B?Folder0", nullptr, size), 0);
  size = -3;
  EXPECT_EQ(reg.ReadBinary("B?Folder0", buffer, size), 0);
  EXPECT_EQ(size, 0);
}

TYPED_TEST_P(RegistryContract, NamesWithNulAreRefused) {
  vt::TQRegistry& reg = this->Store();
  reg.WriteInteger("S?Real", 1);
  // "Real\0x" would otherwise reach the value Real.
  reg.WriteInteger(std::string("S?Real\0x", 8), 2);
  std::int32_t n = 0;
  EXPECT_TRUE(reg.ReadInteger("S?Real", n));
  EXPECT_EQ(n, 1);
  EXPECT_FALSE(reg.ReadInteger(std::string("S?Real\0x", 8), n));
  EXPECT_FALSE(reg.ReadInteger(std::string("S\0T?Real", 8), n));
}

REGISTER_TYPED_TEST_SUITE_P(RegistryContract, PathsSplitAtTheFirstQuestionMark, KeyPathsBuildOnTheBaseKey,
                            PathsAddressKeysAndValues, NestedSectionsAreCreatedOnFirstWrite,
                            LongValueNamesAreCutAtAThousandCharacters, ReadsOfAMissingKeyFailAndCreateNothing,
                            StringsReadBackAndAbsentValuesReadEmpty, StringsOfOtherShapes,
                            IntegersReadOnlyFromFourByteDwords, BinaryReadsRespectTheCapacity,
                            NamesWithNulAreRefused);

}  // namespace vtc
