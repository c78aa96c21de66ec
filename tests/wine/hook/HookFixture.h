// The common setting of the hook library's end-to-end tests: a stand-in controller with the
// real library hooked in, a folder of known content, and dialog clients that are killed when
// the test ends.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "hook/DialogClient.h"
#include "hook/Harness.h"
#include "protocol/Handle32.h"

namespace vth {

class HookFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  virtual Controller::Options ControllerOptions() const { return {}; }

  // Starts a client on the test folder; the dialog (and with `attached` its attach report,
  // slot and panel) are kept in the members below. False with the reason in `why_`.
  bool Start(ClientOptions options = {}, bool attached = true);
  // The latest attach report of `dialog`, if any.
  bool AttachOf(HWND dialog, CopyRecord* out) const;

  // VTM_GETFOLDER to the dialog; the VTCD_FOLDER lists it sent meanwhile go to `lists`.
  LRESULT GetFolder(std::vector<std::vector<std::uint8_t>>* lists = nullptr);
  std::vector<CopyRecord> PanelRecords(std::uint32_t kind) const;
  // Item texts of the dialog's list view, and the one that begins with `prefix`.
  std::vector<std::string> ItemTexts();
  std::string ItemStarting(const std::string& prefix);

  std::unique_ptr<Controller> ctl_;
  std::unique_ptr<TestFolder> folder_;
  std::unique_ptr<DialogClient> client_;
  HWND dialog_ = nullptr;
  HWND panel_ = nullptr;
  int slot_ = -1;
  std::string why_;
};

}  // namespace vth
