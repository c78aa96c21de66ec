// A block of the right name but shorter than its layout, made by another program before the
// resident one. It can only be made in a Wine session where no block exists yet (Wine's
// explorer.exe keeps the hook instances of earlier programs, and with them their block), so
// this program runs first in its session.
#include <gtest/gtest.h>
#include <windows.h>

#include "hook/HookFixture.h"
#include "protocol/Messages.h"

namespace vth {
namespace {

// The hook library leaves every program alone instead of reading past the block's end.
class ShortBlockTest : public HookFixture {
 protected:
  Controller::Options ControllerOptions() const override {
    Controller::Options o;
    o.blockSize = 0x1000;  // the slots fit, the ignore list at 4000 runs past the end
    return o;
  }
};

TEST_F(ShortBlockTest, IsNotUsedAndDialogsWorkAsWithoutTheLibrary) {
  MEMORY_BASIC_INFORMATION info{};
  ASSERT_TRUE(VirtualQuery(&ctl_->Block(), &info, sizeof info));
  ASSERT_LT(info.RegionSize, vt::kSharedBlockSize) << "a block existed already: run this first in a new Wine session";
  ASSERT_TRUE(Start({}, false)) << why_;
  EXPECT_TRUE(client_->Answers(2000)) << "the host died reading the short block";
  PostMessageA(dialog_, WM_NULL, vt::kProgramQueryParam, 0);
  vtt::Pump(500);
  EXPECT_TRUE(ctl_->Records().empty()) << "no attach, no answer to the running-program query";
  client_->Cancel();
  EXPECT_TRUE(client_->Process().WaitExit(5000));
  EXPECT_EQ(client_->Process().ExitCode(), 0u);

  // Once its maker lets it go, no hook instance keeps the short block alive: the next resident
  // program can make its own whole one (Wine's explorer.exe keeps its hook instances).
  ctl_.reset();
  vtt::Pump(500);
  HANDLE next = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, vt::kSharedBlockSize,
                                   vt::kSharedBlockName);
  ASSERT_TRUE(next);
  void* whole = MapViewOfFile(next, FILE_MAP_WRITE, 0, 0, vt::kSharedBlockSize);
  EXPECT_TRUE(whole) << "the short block outlived its maker";
  if (whole) UnmapViewOfFile(whole);
  CloseHandle(next);
}

}  // namespace
}  // namespace vth
