#include "kit/DdeClient.h"

namespace vt {

namespace {
// A client that only sends asynchronous executes has nothing to answer.
HDDEDATA CALLBACK Ignore(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) { return nullptr; }
}  // namespace

DdeConversation::DdeConversation(const char* service, const char* topic, const char* serviceProgram)
    : program_(serviceProgram ? serviceProgram : "") {
  if (DdeInitializeA(&instance_, Ignore, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) {
    instance_ = 0;
    return;
  }
  service_ = DdeCreateStringHandleA(instance_, service, CP_WINANSI);
  topic_ = DdeCreateStringHandleA(instance_, topic, CP_WINANSI);
}

DdeConversation::~DdeConversation() {
  Close();
  if (!instance_) return;
  if (service_) DdeFreeStringHandle(instance_, service_);
  if (topic_) DdeFreeStringHandle(instance_, topic_);
  DdeUninitialize(instance_);
}

bool DdeConversation::Connect() {
  if (!instance_ || !service_ || !topic_) return false;
  conversation_ = DdeConnect(instance_, service_, topic_, nullptr);
  return conversation_ != nullptr;
}

bool DdeConversation::Open() {
  if (Connected() || Connect()) return true;
  if (program_.empty() || WinExec(program_.c_str(), SW_SHOWMINNOACTIVE) <= 31) return false;
  return Connect();
}

bool DdeConversation::ExecuteAsync(const std::string& command) {
  if (!conversation_) return false;
  DWORD transaction = 0;
  return DdeClientTransaction(reinterpret_cast<LPBYTE>(const_cast<char*>(command.c_str())),
                              static_cast<DWORD>(command.size() + 1), conversation_, nullptr, CF_TEXT, XTYP_EXECUTE,
                              TIMEOUT_ASYNC, &transaction) != nullptr;
}

void DdeConversation::Close() {
  if (conversation_) DdeDisconnect(conversation_);
  conversation_ = nullptr;
}

}  // namespace vt
