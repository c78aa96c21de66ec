// libFuzzer target: the hot folders as the registry holds them. FoldersCount, Folder<n> and
// Folder<n>-lnk are stored with fuzzed types and bytes (as a damaged or foreign registry
// could hold them; a list may start with a filler item of a given size) and the list is
// loaded with one of the real capacities or a fuzzed one.
// Besides the sanitizers' findings it stops on a loaded entry that is not one well-formed
// list within the capacity, or a list that does not survive being saved and loaded again.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzInput.h"
#include "panel/HotFolderList.h"
#include "settings/Catalogue.h"
#include "settings/MemoryRegistry.h"
#include "util/IdList.h"

namespace {

void PutRaw(vt::MemoryRegistry& mem, const std::string& name, vt::RegType type, const std::vector<std::uint8_t>& data) {
  const auto key = mem.Open(std::string(vt::kProgramKey) + "\\HotFolders", true);
  mem.Set(key, name, type, data.data(), data.size());
  mem.Close(key);
}

bool Same(const vt::HotFolderList& a, const vt::HotFolderList& b) {
  if (a.Count() != b.Count()) return false;
  for (int i = 0; i < a.Count(); ++i)
    if (a.At(i).idList != b.At(i).idList || a.At(i).linkName != b.At(i).linkName) return false;
  return true;
}

vt::HotFolderList Loaded(vt::MemoryRegistry& mem, int capacity) {
  vt::TQRegistry reg(mem);
  reg.SetBaseKey(vt::kProgramKey);
  vt::HotFolderList list;
  list.Load(reg, capacity);
  return list;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t length) {
  vtfuzz::Input in{bytes, length};
  const std::uint8_t pick = in.U8();
  int capacity = vt::kPanelIdListCapacity;
  if (pick % 4 == 1) capacity = vt::kTrayIdListCapacity;
  if (pick % 4 == 2) capacity = vt::kMaxFolderIdListCapacity;
  if (pick % 4 == 3) capacity = static_cast<std::int16_t>(in.U16());

  vt::MemoryRegistry mem;
  // The count: mostly a DWORD, of any value; sometimes another type or size.
  const std::uint8_t countType = in.U8();
  const auto countValue = static_cast<std::int32_t>(in.U32());
  if (countType < 0xF0) {
    const auto bits = static_cast<std::uint32_t>(countValue);
    PutRaw(mem, "FoldersCount", vt::RegType::Dword,
           {static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8),
            static_cast<std::uint8_t>(bits >> 16), static_cast<std::uint8_t>(bits >> 24)});
  } else if (countType < 0xFF) {
    PutRaw(mem, "FoldersCount", static_cast<vt::RegType>(countType % 6), in.Bytes(in.U8() % 8));
  }
  // Entries, in order unless the input skips numbers.
  int n = 0;
  while (in.n > 0) {
    const std::uint8_t head = in.U8();
    n += head >> 6;  // 0: the same entry again (its link), 1: the next, 2, 3: leaving gaps
    const bool link = head & 1;
    const auto type = head & 0x20 ? static_cast<vt::RegType>((head >> 2 & 7) % 6)
                                  : (link ? vt::RegType::String : vt::RegType::Binary);
    // A filler item first reaches the capacities without inputs that long.
    std::vector<std::uint8_t> data;
    if (head & 2) {
      const std::size_t cb = std::max<std::size_t>(in.U16(), 2);
      data.assign(cb, 'a');
      data[0] = static_cast<std::uint8_t>(cb);
      data[1] = static_cast<std::uint8_t>(cb >> 8);
    }
    const std::vector<std::uint8_t> rest = in.Bytes(in.U16() % 0x1100);
    data.insert(data.end(), rest.begin(), rest.end());
    PutRaw(mem, "Folder" + std::to_string(n) + (link ? "-lnk" : ""), type, data);
  }

  vt::TQRegistry reg(mem);
  reg.SetBaseKey(vt::kProgramKey);
  const vt::HotFolderList list = Loaded(mem, capacity);
  VT_FUZZ_CHECK(mem.OpenKeys() == 0);
  const std::int32_t stored = vt::ReadFoldersCount(reg).value_or(0);
  VT_FUZZ_CHECK(list.Count() <= stored && stored <= vt::kMaxStoredListCount);
  for (const vt::HotFolderEntry& e : list.Entries()) {
    VT_FUZZ_CHECK(e.idList.size() <= static_cast<std::size_t>(capacity) && vt::ItemListExact(e.idList.data(), e.idList.size()));
    VT_FUZZ_CHECK(e.linkName.find('\0') == std::string::npos);
  }

  vt::MemoryRegistry fresh;
  vt::TQRegistry out(fresh);
  out.SetBaseKey(vt::kProgramKey);
  list.Save(out);
  VT_FUZZ_CHECK(Same(Loaded(fresh, capacity), list));
  return 0;
}
