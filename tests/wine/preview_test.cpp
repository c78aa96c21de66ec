// The preview pane end to end: real pictures selected in a real Open dialog, the pane's labels
// and the pixels it draws, as the user sees them.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "support/PanelHarness.h"
#include "support/PictureFiles.h"

namespace {

using vtt::Client;

using Lines = std::vector<std::pair<LONG, std::string>>;

BOOL CALLBACK CollectLabel(HWND w, LPARAM lp) {
  if (vtt::ClassOf(w) == "Static" && IsWindowVisible(w)) {
    const std::string text = vtt::WindowText(w);
    if (!text.empty()) reinterpret_cast<Lines*>(lp)->emplace_back(vtt::WindowRectOf(w).top, text);
  }
  return TRUE;
}

// The labels below the picture, top to bottom, joined by "|"; empty ones left out.
std::string InfoText(HWND panel) {
  Lines lines;
  EnumChildWindows(panel, CollectLabel, reinterpret_cast<LPARAM>(&lines));
  std::stable_sort(lines.begin(), lines.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::string out;
  for (const auto& line : lines) out += (out.empty() ? "" : "|") + line.second;
  return out;
}

BOOL CALLBACK FindPictureView(HWND w, LPARAM lp) {
  if (vtt::ClassOf(w) != "TQPreviewView") return TRUE;
  *reinterpret_cast<HWND*>(lp) = w;
  return FALSE;
}

HWND PictureView(HWND panel) {
  HWND found = nullptr;
  EnumChildWindows(panel, FindPictureView, reinterpret_cast<LPARAM>(&found));
  return found;
}

// The screen's pixel in the middle of the picture view.
COLORREF MiddlePixel(HWND panel) {
  const RECT r = vtt::WindowRectOf(PictureView(panel));
  HDC screen = GetDC(nullptr);
  const COLORREF c = GetPixel(screen, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  ReleaseDC(nullptr, screen);
  return c;
}

bool PictureShown(HWND panel) { return PictureView(panel) && MiddlePixel(panel) != GetSysColor(COLOR_BTNFACE); }

class PreviewPane : public vtt::Panel {
 protected:
  // A dialog of `exe` showing the folder, framed by its panel.
  HWND OpenOn(const std::string& exe, const std::string& folder, bool itemDialog = false) {
    const std::string args = "--folder " + folder.substr(0, folder.size() - 1);
    client_ = itemDialog ? &OpenItemDialog(exe, args) : &Open(exe, args);
    EXPECT_TRUE(client_->WaitDialog());
    return client_->WaitPanel();
  }
  // Selects item `index` of the dialog's list (-1: every item) from outside, as a click would:
  // the record goes into the client's own memory, where the list reads it.
  void Select(int index) {
    HWND view = FindWindowExA(client_->Dialog(), nullptr, "SHELLDLL_DefView", nullptr);
    if (!view)  // the item dialog keeps it in its explorer browser
      view = FindWindowExA(FindWindowExA(client_->Dialog(), nullptr, "ExplorerBrowserControl", nullptr), nullptr,
                           "SHELLDLL_DefView", nullptr);
    HWND list = view ? FindWindowExA(view, nullptr, "SysListView32", nullptr) : nullptr;
    ASSERT_TRUE(list);
    // The dialog fills its list after it shows.
    const LRESULT needed = index < 0 ? 2 : index + 1;
    ASSERT_TRUE(vtt::WaitFor([&] { return SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) >= needed; }, vtt::kWait));
    HANDLE process = client_->Process().Handle();
    void* remote = VirtualAllocEx(process, nullptr, sizeof(LVITEMA), MEM_COMMIT, PAGE_READWRITE);
    ASSERT_TRUE(remote);
    auto set = [&](int which, UINT state) {
      LVITEMA item{};
      item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
      item.state = state;
      WriteProcessMemory(process, remote, &item, sizeof item, nullptr);
      SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(which), reinterpret_cast<LPARAM>(remote));
    };
    set(-1, 0);
    set(index, index < 0 ? LVIS_SELECTED : LVIS_SELECTED | LVIS_FOCUSED);
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  }
  // Until the labels hold `part`.
  bool InfoShows(HWND panel, const std::string& part) {
    return vtt::WaitFor([&] { return InfoText(panel).find(part) != std::string::npos; }, vtt::kWait);
  }

  Client* client_ = nullptr;
};

TEST_F(PreviewPane, JpegShownWithItsLinesOnlyWhileViewJpgIsOn) {
  vtt::PictureFolder pictures("vt_preview_jpeg");
  pictures.Write("photo.JPEG", vtt::MakeJpeg(640, 480, 0xC04040));
  vtt::WriteDword(App("nojpeg.exe"), "ViewJPG", 0);
  StartController();

  HWND panel = OpenOn("withjpeg.exe", pictures.Path());
  ASSERT_TRUE(panel);
  Select(0);
  ASSERT_TRUE(InfoShows(panel, "Size: 640 x 480 x 24bit")) << InfoText(panel) << " controller running: " << controller_.Running();
  const std::string info = InfoText(panel);
  EXPECT_EQ(info.find("photo"), 0u) << info;
  // Stacked in this order below name and type.
  EXPECT_LT(info.find("|Size: "), info.find("|File Size: ")) << info;
  EXPECT_LT(info.find("|File Size: "), info.find("|Modified: ")) << info;
  EXPECT_TRUE(vtt::WaitFor([&] { return PictureShown(panel); }, vtt::kWait));
  vtt::KeepScreenshot("preview_jpeg.bmp");
  client_->Process().Kill();

  panel = OpenOn("nojpeg.exe", pictures.Path());
  ASSERT_TRUE(panel);
  Select(0);
  ASSERT_TRUE(InfoShows(panel, "Modified: ")) << InfoText(panel);
  EXPECT_TRUE(InfoShows(panel, "File Size: ")) << InfoText(panel);  // the lines are filled one by one
  EXPECT_EQ(InfoText(panel).find("|Size: "), std::string::npos) << InfoText(panel);
  EXPECT_FALSE(PictureShown(panel));
}

// The item dialog's selected picture is previewed as the classic dialog's is.
TEST_F(PreviewPane, TheItemDialogsSelectedPictureIsShown) {
  vtt::PictureFolder pictures("vt_preview_item");
  pictures.Write("photo.JPEG", vtt::MakeJpeg(640, 480, 0x40C040));
  StartController();
  HWND panel = OpenOn("modern.exe", pictures.Path(), true);
  ASSERT_TRUE(panel);
  Select(0);
  EXPECT_TRUE(InfoShows(panel, "Size: 640 x 480 x 24bit")) << InfoText(panel);
  EXPECT_TRUE(vtt::WaitFor([&] { return PictureShown(panel); }, vtt::kWait));
  vtt::KeepScreenshot("preview_item.bmp");
}

TEST_F(PreviewPane, FilesWithoutPictureAndSeveralItems) {
  vtt::PictureFolder files("vt_preview_plain");
  files.Write("empty.BMP", {});
  // A real PNG header: its size would be readable, but no PNG is ever previewed.
  files.Write("image.png", {0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0, 0, 13, 'I', 'H', 'D', 'R', 0, 0, 0, 64, 0, 0, 0,
                            64, 8, 2, 0, 0, 0});
  StartController();
  HWND panel = OpenOn("plainfiles.exe", files.Path());
  ASSERT_TRUE(panel);

  Select(0);
  ASSERT_TRUE(InfoShows(panel, "empty")) << InfoText(panel);
  vtt::Pump(1200);  // two folder polls: nothing more comes
  EXPECT_EQ(InfoText(panel).find("Size: "), std::string::npos) << InfoText(panel);
  EXPECT_FALSE(PictureShown(panel));

  Select(1);
  ASSERT_TRUE(InfoShows(panel, "File Size: 29 bytes")) << InfoText(panel);
  EXPECT_EQ(InfoText(panel).find("|Size: "), std::string::npos) << InfoText(panel);
  EXPECT_FALSE(PictureShown(panel));

  // Two items selected: the folder itself is previewed.
  Select(-1);
  ASSERT_TRUE(InfoShows(panel, "vt_preview_plain|")) << InfoText(panel);
  EXPECT_NE(InfoText(panel).find("Modified: "), std::string::npos);
  EXPECT_EQ(InfoText(panel).find("Size: "), std::string::npos) << InfoText(panel);
}

TEST_F(PreviewPane, GifAnimationChangesFrames) {
  vtt::PictureFolder pictures("vt_preview_gif");
  pictures.Write("anim.gif", vtt::MakeGif(80, 60, {{0, 30}, {1, 30}, {2, 30}}, 0));
  StartController();
  HWND panel = OpenOn("gifs.exe", pictures.Path());
  ASSERT_TRUE(panel);
  Select(0);
  ASSERT_TRUE(InfoShows(panel, "Size: 80 x 60 x 2bit")) << InfoText(panel);
  ASSERT_TRUE(vtt::WaitFor([&] { return PictureShown(panel); }, vtt::kWait));
  const COLORREF first = MiddlePixel(panel);
  vtt::KeepScreenshot("preview_gif_1.bmp");
  EXPECT_TRUE(vtt::WaitFor([&] { return MiddlePixel(panel) != first; }, vtt::kWait));
  vtt::KeepScreenshot("preview_gif_2.bmp");
}

}  // namespace
