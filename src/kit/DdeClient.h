// A client conversation with a DDE service (the DDE management library): connect, hand the
// server an execute command without waiting for its outcome, disconnect. The object owns its
// library instance, string handles and conversation, and gives all of them back when it ends.
#pragma once
#include <windows.h>
#include <ddeml.h>

#include <string>

namespace vt {

class DdeConversation {
 public:
  // serviceProgram is started when the service does not answer (see Open).
  DdeConversation(const char* service, const char* topic, const char* serviceProgram);
  ~DdeConversation();
  DdeConversation(const DdeConversation&) = delete;
  DdeConversation& operator=(const DdeConversation&) = delete;

  // Connects; when no server answers, starts the service program minimised without
  // activating it and, if that start succeeded, tries once more.
  bool Open();
  bool Connected() const { return conversation_ != nullptr; }
  // One asynchronous execute transaction of the text (CF_TEXT, with its NUL); false without
  // a conversation or when the library refuses it.
  bool ExecuteAsync(const std::string& command);
  void Close();

 private:
  bool Connect();

  DWORD instance_ = 0;
  HSZ service_ = nullptr, topic_ = nullptr;
  HCONV conversation_ = nullptr;
  std::string program_;
};

}  // namespace vt
