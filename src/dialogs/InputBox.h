// A modal question for one line of text: caption, prompt, an edit box, OK and Cancel. The
// owner is disabled while it is open.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

namespace vt {

inline constexpr char kInputBoxClass[] = "TQInputBox";
inline constexpr int kInputBoxEdit = 100;

// The text when the user chose OK; none for Cancel or closing.
std::optional<std::string> InputBox(HWND owner, const char* caption, const char* prompt, const std::string& initial);

}  // namespace vt
