// libFuzzer target: the WM_COPYDATA gate and its typed decoders. The first byte picks the
// receiver, a kind (one of the protocol's or a raw 32-bit one that follows) and whether
// lpData is null, the next one a filler to start the payload with; the rest is the payload,
// its size cbData. Besides the sanitizers' findings it stops on a
// decoded record that is not the payload or breaks its kind's shape.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "FuzzInput.h"
#include "protocol/CopyData.h"
#include "util/IdList.h"

namespace {

constexpr std::uint32_t kKinds[] = {vt::VTCD_ATTACH,  vt::VTCD_PROGRAM, vt::VTCD_FOLDER,   vt::VTCD_POSCHANGING,
                                    vt::VTCD_SHOW,    vt::VTCD_DESTROY, vt::VTCD_CLOSE,    vt::VTCD_NCACTIVATE,
                                    vt::VTCD_SETTEXT, 0};
constexpr std::size_t kKindCount = sizeof kKinds / sizeof kKinds[0];

bool IsNotify(std::uint32_t kind) {
  return kind == vt::VTCD_SHOW || kind == vt::VTCD_DESTROY || kind == vt::VTCD_CLOSE || kind == vt::VTCD_NCACTIVATE;
}

// A text that is the payload's bytes up to its only NUL, the payload's last byte.
void CheckWholeText(std::string_view text, const std::uint8_t* data, std::uint32_t size, std::uint32_t max) {
  VT_FUZZ_CHECK(data && size >= 1 && size <= max && text.data() == reinterpret_cast<const char*>(data));
  VT_FUZZ_CHECK(text.size() + 1 == size && data[size - 1] == 0 && std::memchr(data, 0, text.size()) == nullptr);
}

// A text that starts the payload and is followed by a NUL inside it.
void CheckLeadingText(std::string_view text, const std::uint8_t* data, std::uint32_t size) {
  VT_FUZZ_CHECK(data && text.data() == reinterpret_cast<const char*>(data) && text.size() < size);
  VT_FUZZ_CHECK(data[text.size()] == 0 && std::memchr(data, 0, text.size()) == nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* input, std::size_t length) {
  vtfuzz::Input in{input, length};
  const std::uint8_t pick = in.U8();
  const auto receiver = static_cast<vt::CopyReceiver>(pick & 3);  // 3 is no receiver at all
  const std::size_t k = (pick >> 2) % (kKindCount + 1);
  const std::uint32_t kind = k < kKindCount ? kKinds[k] : in.U32();
  const bool nullData = (pick & 0x80) && (pick & 0x40);
  // The payload may start with a filler item or text of a given size, so that records near
  // the size limits need no input that long.
  const std::uint8_t shape = in.U8();
  std::vector<std::uint8_t> bytes;
  if (shape & 1) {
    const std::size_t cb = std::max<std::size_t>(in.U16(), 2);
    bytes.assign(cb, 'a');
    bytes[0] = static_cast<std::uint8_t>(cb);
    bytes[1] = static_cast<std::uint8_t>(cb >> 8);
  } else if (shape & 2) {
    bytes.assign(in.U16(), 'a');
  }
  const std::vector<std::uint8_t> rest = in.Rest();
  bytes.insert(bytes.end(), rest.begin(), rest.end());
  const vtfuzz::Exact payload(bytes);
  const std::uint8_t* data = nullData ? nullptr : payload.get();
  const auto size = static_cast<std::uint32_t>(payload.size());

  const bool valid = vt::IsValidCopyData(receiver, kind, data, size);
  if (valid) VT_FUZZ_CHECK(data && size > 0);
  const vt::CopyDataView cd{kind, data, size};
  auto validFor = [&](vt::CopyReceiver r, std::uint32_t as) {
    return kind == as && vt::IsValidCopyData(r, as, data, size);
  };

  const auto name = vt::DecodeProgramName(cd);
  VT_FUZZ_CHECK(name.has_value() == validFor(vt::CopyReceiver::Controller, vt::VTCD_ATTACH));
  if (name) CheckWholeText(*name, data, size, vt::kMaxCopyDataText), VT_FUZZ_CHECK(!name->empty());
  const auto path = vt::DecodeProgramPath(cd);
  VT_FUZZ_CHECK(path.has_value() == validFor(vt::CopyReceiver::Controller, vt::VTCD_PROGRAM));
  if (path) CheckWholeText(*path, data, size, vt::kMaxCopyDataText), VT_FUZZ_CHECK(!path->empty());
  const auto item = vt::DecodeOpenItem(cd);
  VT_FUZZ_CHECK(item.has_value() == validFor(vt::CopyReceiver::Dialog, vt::VTCD_OPENITEM));
  if (item) CheckWholeText(*item, data, size, vt::kMaxCopyDataText);
  const auto text = vt::DecodeFileNameText(cd);
  VT_FUZZ_CHECK(text.has_value() == validFor(vt::CopyReceiver::Panel, vt::VTCD_SETTEXT));
  if (text) CheckWholeText(*text, data, size, vt::kMaxFileNameText);

  const auto pos = vt::DecodeWindowPos(cd);
  VT_FUZZ_CHECK(pos.has_value() == validFor(vt::CopyReceiver::Panel, vt::VTCD_POSCHANGING));
  if (pos) VT_FUZZ_CHECK(size == vt::kWindowPosSize && std::memcmp(&*pos, data, sizeof *pos) == 0);
  const auto notify = vt::DecodeNotify(cd);
  VT_FUZZ_CHECK(notify.has_value() == (IsNotify(kind) && vt::IsValidCopyData(vt::CopyReceiver::Panel, kind, data, size)));
  if (notify) VT_FUZZ_CHECK(size == sizeof(vt::NotifyRecord) && std::memcmp(&*notify, data, sizeof *notify) == 0);
  const auto folder = vt::DecodeFolder(cd);
  VT_FUZZ_CHECK(folder.has_value() == validFor(vt::CopyReceiver::Panel, vt::VTCD_FOLDER));
  if (folder) {
    VT_FUZZ_CHECK(folder->data == data && folder->size == size && size <= vt::kMaxItemListSize);
    VT_FUZZ_CHECK(vt::ItemListExact(data, size));
  }

  // The plain text readers: the text before the first NUL, never without one.
  const void* nul = data && size ? std::memchr(data, 0, size) : nullptr;
  std::string_view lead;
  const bool hasLead = vt::PayloadText(data, size, &lead);
  VT_FUZZ_CHECK(hasLead == (nul != nullptr));
  if (hasLead) CheckLeadingText(lead, data, size);
  const auto bounded = vt::CopyDataText(data, size);
  VT_FUZZ_CHECK(bounded.has_value() == (hasLead && size <= vt::kMaxCopyDataText));
  if (bounded) CheckLeadingText(*bounded, data, size);
  return 0;
}
