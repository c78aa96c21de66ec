#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/DialogRules.h"

namespace {

TEST(DialogRules, EachOptionsPageHasItsTopicAndAnyOtherShowsTheGeneralOne) {
  EXPECT_STREQ(vt::OptionsHelpTopic(0), "::/GeneralOptions.htm");
  EXPECT_STREQ(vt::OptionsHelpTopic(1), "::/QuickPanelOptions.htm");
  EXPECT_STREQ(vt::OptionsHelpTopic(2), "::/PreviewOptions.htm");
  for (int page : {-1, 3, 1000}) EXPECT_STREQ(vt::OptionsHelpTopic(page), "::/GeneralOptions.htm") << page;
}

TEST(DialogRules, RunningProgramsGiveTheirFileNameAndTypedNamesOnlyChangeCase) {
  EXPECT_EQ(vt::IgnoreEntryFromPath("C:\\WINDOWS\\notepad.exe", vt::AsciiUpperCase), "NOTEPAD.EXE");
  EXPECT_EQ(vt::IgnoreEntryFromPath("D:tool.exe", vt::AsciiUpperCase), "TOOL.EXE");
  EXPECT_EQ(vt::IgnoreEntryFromPath("plain.exe", vt::AsciiUpperCase), "PLAIN.EXE");
  EXPECT_EQ(vt::IgnoreEntryFromPath("C:\\dir\\", vt::AsciiUpperCase), "");
  EXPECT_EQ(vt::IgnoreEntryTyped("C:\\Apps\\Tool.exe", vt::AsciiUpperCase), "C:\\APPS\\TOOL.EXE");
}

TEST(DialogRules, TheListRefusesEmptyDuplicateOverlongAndFiftyFirstEntries) {
  std::vector<std::string> list;
  EXPECT_EQ(vt::AddIgnoreEntry(list, "NOTEPAD.EXE"), vt::AddOutcome::Added);
  EXPECT_EQ(vt::AddIgnoreEntry(list, "NOTEPAD.EXE"), vt::AddOutcome::Duplicate);
  EXPECT_STREQ(vt::AddOutcomeMessage(vt::AddOutcome::Duplicate), "The Ignore List already contains this program!");
  EXPECT_EQ(vt::AddIgnoreEntry(list, ""), vt::AddOutcome::Empty);
  EXPECT_EQ(vt::AddOutcomeMessage(vt::AddOutcome::Empty), nullptr);
  // 79 characters fill an 80-byte slot with the NUL; 80 would not fit.
  EXPECT_EQ(vt::AddIgnoreEntry(list, std::string(80, 'A')), vt::AddOutcome::TooLong);
  EXPECT_NE(vt::AddOutcomeMessage(vt::AddOutcome::TooLong), nullptr);
  EXPECT_EQ(vt::AddIgnoreEntry(list, std::string(79, 'A')), vt::AddOutcome::Added);
  while (list.size() < 50) list.push_back("P" + std::to_string(list.size()) + ".EXE");
  EXPECT_EQ(vt::AddIgnoreEntry(list, "LATE.EXE"), vt::AddOutcome::ListFull);
  EXPECT_STREQ(vt::AddOutcomeMessage(vt::AddOutcome::ListFull), "Too large list!");
  ASSERT_EQ(list.size(), 50u);
  EXPECT_EQ(list[0], "NOTEPAD.EXE");
}

TEST(DialogRules, LinkLinesTurnBlueWhileHoveredAndGetTheirOwnColourBack) {
  vt::LinkHover visit{0x00123456}, mail{0x000000FF};
  visit.Enter();
  EXPECT_EQ(visit.colour, vt::kHoverBlue);
  EXPECT_EQ(visit.tag, 0x00123456u);
  // From one line straight onto the other: the first is restored before the second turns.
  visit.Leave();
  mail.Enter();
  EXPECT_EQ(visit.colour, 0x00123456u);
  EXPECT_EQ(mail.colour, vt::kHoverBlue);
  // A second entry without a leave must not save the blue as the colour to go back to.
  mail.Enter();
  mail.Leave();
  EXPECT_EQ(mail.colour, 0x000000FFu);
  mail.Leave();
  EXPECT_EQ(mail.colour, 0x000000FFu);
}

}  // namespace
