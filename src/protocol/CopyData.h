// The one gate for WM_COPYDATA payloads, shared by hook instances, the controller and panels.
// Nothing in a payload is trusted: every receiver checks the whole record for its kind here
// and reads it only through the typed decoders, which never look past cbData.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "protocol/Messages.h"

namespace vt {

// Texts are program paths, file names and the file-name box's text: a few hundred bytes.
// The box's text is allowed up to what the hook instance ever sends.
inline constexpr std::uint32_t kMaxCopyDataText = 4096;
inline constexpr std::uint32_t kMaxFileNameText = 0x8000;

// The text before the first NUL within size bytes; none when data is null, size is 0 or above
// kMaxCopyDataText, or no NUL lies inside the payload. The text itself may be empty.
std::optional<std::string_view> CopyDataText(const void* data, std::uint32_t size);

// The text of a payload: the bytes before the first NUL within `size`. False (and no text)
// for no data, size 0, or no NUL inside the payload.
bool PayloadText(const void* data, std::uint32_t size, std::string_view* text);

// Whole-payload checks for every kind, by receiver, so that each side refuses the same
// malformed records: a record of the wrong size, a text without its NUL (or with cbData other
// than its length + 1, or longer than its kind allows), a folder list that is not exactly one
// well-formed list of cbData bytes. Unknown kinds are refused.
enum class CopyReceiver { Controller, Panel, Dialog };
bool IsValidCopyData(CopyReceiver receiver, std::uint32_t kind, const void* data, std::uint32_t size);

// A WM_COPYDATA as received: dwData, lpData, cbData.
struct CopyDataView {
  std::uint32_t kind = 0;
  const void* data = nullptr;
  std::uint32_t size = 0;
};

// Typed decoders. Each one validates for its receiver first and gives nothing when the kind
// differs or the payload is malformed; texts point into the payload.
std::optional<std::string_view> DecodeProgramName(const CopyDataView& cd);   // VTCD_ATTACH
std::optional<std::string_view> DecodeProgramPath(const CopyDataView& cd);   // VTCD_PROGRAM
std::optional<std::string_view> DecodeOpenItem(const CopyDataView& cd);      // VTCD_OPENITEM
std::optional<WindowPos32> DecodeWindowPos(const CopyDataView& cd);          // 0x46
std::optional<NotifyRecord> DecodeNotify(const CopyDataView& cd);            // 0x02 0x10 0x18 0x86
std::optional<std::string_view> DecodeFileNameText(const CopyDataView& cd);  // 0x0C
// VTCD_FOLDER: the list's bytes, exactly one well-formed list.
struct ItemListBytesView {
  const void* data;
  std::size_t size;
};
std::optional<ItemListBytesView> DecodeFolder(const CopyDataView& cd);

}  // namespace vt
