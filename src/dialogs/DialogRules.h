// The window-free rules of the settings dialogs and the about box: which help topic a page
// shows, how an ignore entry is made from a running program or a typed name and when the list
// refuses it, and the hover colour of the about box's link lines.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "util/TextCase.h"

namespace vt {

// --- help ------------------------------------------------------------------------------------
inline constexpr char kHelpFileName[] = "VT.chm";
inline constexpr char kTopicOverview[] = "::/Overview.htm";
inline constexpr char kTopicGeneral[] = "::/GeneralOptions.htm";
inline constexpr char kTopicQuickPanel[] = "::/QuickPanelOptions.htm";
inline constexpr char kTopicPreview[] = "::/PreviewOptions.htm";
inline constexpr char kTopicStartup[] = "::/Startup.htm";

// The options dialog's pages, in tab order.
enum OptionsPage : int { kPageGeneral = 0, kPageQuickPanel = 1, kPagePreview = 2 };
// The help topic of an options page; any page not listed shows the general topic.
const char* OptionsHelpTopic(int page);

// --- ignore list -----------------------------------------------------------------------------
// An entry fills one 80-byte slot of the shared block with its NUL, and the hook library reads
// no more than 50 slots: longer names and further entries could never take effect.
inline constexpr std::size_t kMaxIgnoreEntryLength = 79;
inline constexpr std::size_t kMaxIgnoreEntries = 50;

// A running program's path: upper case, reduced to its file name (after the last '\' or ':').
std::string IgnoreEntryFromPath(std::string_view path, UpperCaseFn upper);
// A typed name: upper case only, so a typed path stays a path (it then never matches).
std::string IgnoreEntryTyped(std::string_view text, UpperCaseFn upper);

enum class AddOutcome { Added, Empty, ListFull, TooLong, Duplicate };
// Appends entry unless it is empty, the list is full, it does not fit a slot, or the list
// already holds it (exact comparison); the list is unchanged in every other case.
AddOutcome AddIgnoreEntry(std::vector<std::string>& list, const std::string& entry);
// The message the dialog shows for an outcome; null when there is nothing to say.
const char* AddOutcomeMessage(AddOutcome outcome);

// --- about box links -------------------------------------------------------------------------
inline constexpr std::uint32_t kHoverBlue = 0x00FF0000;  // COLORREF: blue in the highest byte

// A link line's font colour and the integer tag that keeps the colour it had before the mouse
// came. Entering twice without leaving keeps the first saved colour, so the line can never
// stay blue after the mouse has left.
struct LinkHover {
  std::uint32_t colour = 0;
  std::uint32_t tag = 0;
  bool inside = false;

  void Enter();
  void Leave();
};

}  // namespace vt
