#include "protocol/CopyData.h"

#include <cstring>

#include "util/IdList.h"

namespace vt {

std::optional<std::string_view> CopyDataText(const void* data, std::uint32_t size) {
  if (size > kMaxCopyDataText) return std::nullopt;
  std::string_view text;
  if (!PayloadText(data, size, &text)) return std::nullopt;
  return text;
}

bool PayloadText(const void* data, std::uint32_t size, std::string_view* text) {
  if (!data || size == 0) return false;
  const void* nul = std::memchr(data, '\0', size);
  if (!nul) return false;
  *text = std::string_view(static_cast<const char*>(data),
                           static_cast<std::size_t>(static_cast<const char*>(nul) - static_cast<const char*>(data)));
  return true;
}

namespace {

// A text whose only NUL is its last byte: cbData = length + 1.
bool ExactText(const void* data, std::uint32_t size) {
  const auto text = CopyDataText(data, size);
  return text && text->size() + 1 == size;
}

// The file-name box may hold more than the other texts.
bool ExactFileNameText(const void* data, std::uint32_t size) {
  std::string_view text;
  return size <= kMaxFileNameText && PayloadText(data, size, &text) && text.size() + 1 == size;
}

bool IsNotifyKind(std::uint32_t kind) {
  return kind == VTCD_SHOW || kind == VTCD_DESTROY || kind == VTCD_CLOSE || kind == VTCD_NCACTIVATE;
}

std::optional<std::string_view> Text(CopyReceiver receiver, std::uint32_t kind, const CopyDataView& cd) {
  if (cd.kind != kind || !IsValidCopyData(receiver, kind, cd.data, cd.size)) return std::nullopt;
  return std::string_view(static_cast<const char*>(cd.data), cd.size - 1);
}

}  // namespace

bool IsValidCopyData(CopyReceiver receiver, std::uint32_t kind, const void* data, std::uint32_t size) {
  if (!data || size == 0) return false;
  switch (receiver) {
    case CopyReceiver::Controller:
      // An empty program name opens nothing.
      if (kind == VTCD_ATTACH || kind == VTCD_PROGRAM) return size > 1 && ExactText(data, size);
      return false;
    case CopyReceiver::Dialog:
      return kind == VTCD_OPENITEM && ExactText(data, size);
    case CopyReceiver::Panel:
      if (IsNotifyKind(kind)) return size == sizeof(NotifyRecord);
      switch (kind) {
        case VTCD_POSCHANGING: return size == kWindowPosSize;
        case VTCD_SETTEXT: return ExactFileNameText(data, size);
        case VTCD_FOLDER: return ItemListExact(data, size);
        default: return false;
      }
  }
  return false;
}

std::optional<std::string_view> DecodeProgramName(const CopyDataView& cd) {
  return Text(CopyReceiver::Controller, VTCD_ATTACH, cd);
}

std::optional<std::string_view> DecodeProgramPath(const CopyDataView& cd) {
  return Text(CopyReceiver::Controller, VTCD_PROGRAM, cd);
}

std::optional<std::string_view> DecodeOpenItem(const CopyDataView& cd) {
  return Text(CopyReceiver::Dialog, VTCD_OPENITEM, cd);
}

std::optional<std::string_view> DecodeFileNameText(const CopyDataView& cd) {
  return Text(CopyReceiver::Panel, VTCD_SETTEXT, cd);
}

std::optional<WindowPos32> DecodeWindowPos(const CopyDataView& cd) {
  if (cd.kind != VTCD_POSCHANGING || !IsValidCopyData(CopyReceiver::Panel, cd.kind, cd.data, cd.size))
    return std::nullopt;
  WindowPos32 pos;
  std::memcpy(&pos, cd.data, sizeof pos);
  return pos;
}

std::optional<NotifyRecord> DecodeNotify(const CopyDataView& cd) {
  if (!IsNotifyKind(cd.kind) || !IsValidCopyData(CopyReceiver::Panel, cd.kind, cd.data, cd.size))
    return std::nullopt;
  NotifyRecord record;
  std::memcpy(&record, cd.data, sizeof record);
  return record;
}

std::optional<ItemListBytesView> DecodeFolder(const CopyDataView& cd) {
  if (cd.kind != VTCD_FOLDER || !IsValidCopyData(CopyReceiver::Panel, cd.kind, cd.data, cd.size))
    return std::nullopt;
  return ItemListBytesView{cd.data, cd.size};
}

}  // namespace vt
