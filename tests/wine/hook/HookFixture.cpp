#include "hook/HookFixture.h"

#include "protocol/Messages.h"

namespace vth {

void HookFixture::SetUp() {
  folder_ = std::make_unique<TestFolder>();
  folder_->AddFile("alpha.txt", "alpha");
  folder_->AddFile("beta.txt", "beta");
  folder_->AddFolder("Sub One");
  folder_->AddFile("Sub One\\inner.txt", "inner");
  folder_->AddFolder("Second");
  ctl_ = std::make_unique<Controller>(ControllerOptions());
  ASSERT_TRUE(ctl_->Ready()) << "shared block or controller window";
  ASSERT_TRUE(ctl_->Hook()) << "SetHook failed " << ctl_->LoadError();
}

void HookFixture::TearDown() {
  client_.reset();
  ctl_.reset();
  folder_.reset();
}

bool HookFixture::Start(ClientOptions options, bool attached) {
  if (options.folder.empty()) options.folder = folder_->Path();
  client_ = std::make_unique<DialogClient>(options);
  dialog_ = nullptr;
  panel_ = nullptr;
  slot_ = -1;
  if (!client_->Started()) {
    why_ = "the dialog client did not start";
    return false;
  }
  dialog_ = client_->WaitDialog(15000);
  if (!dialog_) {
    why_ = "no dialog appeared";
    return false;
  }
  if (!attached) return true;
  if (!ctl_->WaitFor(vt::VTCD_ATTACH, 10000, 1, dialog_)) {
    why_ = "no VTCD_ATTACH for the dialog";
    return false;
  }
  slot_ = ctl_->SlotOf(dialog_);
  panel_ = ctl_->PanelOf(dialog_);
  if (slot_ < 0 || !panel_) {
    why_ = "no slot was claimed";
    return false;
  }
  return true;
}

bool HookFixture::AttachOf(HWND dialog, CopyRecord* out) const {
  auto all = ctl_->Find(vt::VTCD_ATTACH, dialog);
  if (all.empty()) return false;
  *out = all.back();
  return true;
}

LRESULT HookFixture::GetFolder(std::vector<std::vector<std::uint8_t>>* lists) {
  std::size_t before = ctl_->Records().size();
  LRESULT r = -100;
  if (!SendBounded(dialog_, vt::VTM_GETFOLDER, 0, 0, &r)) return -100;
  if (lists) {
    lists->clear();
    const auto& all = ctl_->Records();
    for (std::size_t i = before; i < all.size(); ++i)
      if (all[i].kind == vt::VTCD_FOLDER) lists->push_back(all[i].bytes);
  }
  return r;
}

std::vector<CopyRecord> HookFixture::PanelRecords(std::uint32_t kind) const {
  std::vector<CopyRecord> out;
  for (const CopyRecord& r : ctl_->ToPanel(panel_))
    if (r.kind == kind) out.push_back(r);
  return out;
}

std::vector<std::string> HookFixture::ItemTexts() {
  std::vector<std::string> out;
  if (client_->Command(kCmdItemTexts) < 0) return out;
  auto data = client_->Data();
  std::string cur;
  for (std::uint8_t b : data) {
    if (b == 0) {
      out.push_back(cur);
      cur.clear();
    } else {
      cur.push_back(static_cast<char>(b));
    }
  }
  return out;
}

std::string HookFixture::ItemStarting(const std::string& prefix) {
  for (const std::string& t : ItemTexts())
    if (t.compare(0, prefix.size(), prefix) == 0) return t;
  return {};
}

}  // namespace vth
