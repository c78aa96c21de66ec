#include "controller/SharedMapping.h"

#include <sddl.h>

#include <cstring>
#include <memory>
#include <string>

namespace vt {

namespace {

struct LocalFreeDeleter {
  void operator()(void* p) const { LocalFree(p); }
};
using LocalMemory = std::unique_ptr<void, LocalFreeDeleter>;

// "D:P(A;;GA;;;<user>)(A;;GA;;;SY)S:(ML;;NW;;;ME)": only this user (and the system) may open
// the block, and nothing below medium integrity (a sandboxed browser, say) may write it. Empty
// when the user is unknown: the block is then made with the default security.
std::string BlockSecurity() {
  HANDLE raw = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &raw)) return {};
  UniqueKernelHandle token(raw);
  DWORD size = 0;
  GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
  if (size == 0 || size > 4096) return {};
  std::unique_ptr<unsigned char[]> user(new unsigned char[size]);
  if (!GetTokenInformation(token.get(), TokenUser, user.get(), size, &size)) return {};
  char* sid = nullptr;
  if (!ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER*>(user.get())->User.Sid, &sid)) return {};
  LocalMemory owned(sid);
  return std::string("D:P(A;;GA;;;") + sid + ")(A;;GA;;;SY)S:(ML;;NW;;;ME)";
}

}  // namespace

SharedBlock* SharedMapping::Create() {
  Close();
  SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, FALSE};
  LocalMemory descriptor;
  const std::string sddl = BlockSecurity();
  PSECURITY_DESCRIPTOR sd = nullptr;
  if (!sddl.empty() && ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl.c_str(), SDDL_REVISION_1, &sd, nullptr)) {
    descriptor.reset(sd);
    sa.lpSecurityDescriptor = sd;
  }
  mapping_.reset(CreateFileMappingA(INVALID_HANDLE_VALUE, sa.lpSecurityDescriptor ? &sa : nullptr, PAGE_READWRITE, 0,
                                    kSharedBlockSize, kSharedBlockName));
  if (!mapping_) return nullptr;
  // The size is given, not 0 ("whole mapping"): a smaller existing section then fails to map
  // instead of giving a view the zero fill would overrun.
  view_.reset(MapViewOfFile(mapping_.get(), FILE_MAP_WRITE, 0, 0, kSharedBlockSize));
  if (!view_) {
    mapping_.reset();
    return nullptr;
  }
  std::memset(view_.get(), 0, kSharedBlockSize);
  return get();
}

void SharedMapping::Close() {
  view_.reset();
  mapping_.reset();
}

}  // namespace vt
