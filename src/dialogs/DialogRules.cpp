#include "dialogs/DialogRules.h"

#include <algorithm>

namespace vt {

const char* OptionsHelpTopic(int page) {
  switch (page) {
    case kPageQuickPanel: return kTopicQuickPanel;
    case kPagePreview: return kTopicPreview;
    default: return kTopicGeneral;
  }
}

std::string IgnoreEntryTyped(std::string_view text, UpperCaseFn upper) {
  std::string entry(text);
  upper(entry.data(), entry.size());
  return entry;
}

std::string IgnoreEntryFromPath(std::string_view path, UpperCaseFn upper) {
  const std::size_t cut = path.find_last_of("\\:");
  return IgnoreEntryTyped(cut == std::string_view::npos ? path : path.substr(cut + 1), upper);
}

AddOutcome AddIgnoreEntry(std::vector<std::string>& list, const std::string& entry) {
  if (entry.empty()) return AddOutcome::Empty;
  if (std::find(list.begin(), list.end(), entry) != list.end()) return AddOutcome::Duplicate;
  if (list.size() >= kMaxIgnoreEntries) return AddOutcome::ListFull;
  if (entry.size() > kMaxIgnoreEntryLength) return AddOutcome::TooLong;
  list.push_back(entry);
  return AddOutcome::Added;
}

const char* AddOutcomeMessage(AddOutcome outcome) {
  switch (outcome) {
    case AddOutcome::ListFull: return "Too large list!";
    case AddOutcome::TooLong: return "This name is too long: a program name in the Ignore List may have at most 79 characters.";
    case AddOutcome::Duplicate: return "The Ignore List already contains this program!";
    default: return nullptr;
  }
}

void LinkHover::Enter() {
  if (inside) return;
  inside = true;
  tag = colour;
  colour = kHoverBlue;
}

void LinkHover::Leave() {
  if (!inside) return;
  inside = false;
  colour = tag;
}

}  // namespace vt
