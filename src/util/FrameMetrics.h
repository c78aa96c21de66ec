// The system's window frame metrics as the panels build on them, and the Config.ini switch
// ShowDlgBorder that leaves the dialog's own frame and caption in sight (Windows build).
#pragma once

namespace vt {

// Set once at start-up.
void SetShowDlgBorder(bool on);
// The system's frame widths and caption height, or zeros while ShowDlgBorder is on and force
// is false; the result is the state of ShowDlgBorder.
bool GetFrameMetrics(int& frameWidth, int& frameHeight, int& captionHeight, bool force);

}  // namespace vt
