// The help file through the HTML Help engine: HHCtrl.OCX is loaded once at start-up and its
// HtmlHelpA (ordinal 14) shows a topic; without it the shell opens the whole file.
#pragma once
#include <string>

namespace vt {

// Loads the engine; a system without it is remembered, and help falls back to the shell.
void LoadHtmlHelp();

// helpFile is the full path of the .chm; topic is "::/Name.htm".
void ShowHelpTopic(const std::string& helpFile, const char* topic);

}  // namespace vt
