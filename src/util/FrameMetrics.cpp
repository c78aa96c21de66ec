#include "util/FrameMetrics.h"

#include <windows.h>

namespace vt {

namespace {
bool g_showDlgBorder = false;
}  // namespace

void SetShowDlgBorder(bool on) { g_showDlgBorder = on; }

bool GetFrameMetrics(int& frameWidth, int& frameHeight, int& captionHeight, bool force) {
  frameWidth = frameHeight = captionHeight = 0;
  if (!g_showDlgBorder || force) {
    frameWidth = GetSystemMetrics(SM_CXFRAME);
    frameHeight = GetSystemMetrics(SM_CYFRAME);
    captionHeight = GetSystemMetrics(SM_CYCAPTION);
  }
  return g_showDlgBorder;
}

}  // namespace vt
