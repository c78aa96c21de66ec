// The Run value "Vantrel" in the real registry of the current user.
#pragma once
#include "controller/AutoRun.h"

namespace vt {

class Win32RunEntry : public RunEntry {
 public:
  void Set(const std::string& command) override;
  void Remove() override;
};

}  // namespace vt
