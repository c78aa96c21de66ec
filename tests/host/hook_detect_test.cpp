// File-dialog detection over a fake window tree that counts how often it is asked, so the
// tests also see where counting stops.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "hooklib/DialogRules.h"

namespace {

using vt::hook::WindowId;

class FakeTree final : public vt::hook::WindowTree {
 public:
  WindowId Add(WindowId parent, const std::string& cls) {
    WindowId id = next_++;
    classes_[id] = cls;
    children_[parent].push_back(id);
    return id;
  }
  WindowId Dialog(int listBoxes, int combos, int buttons, int statics, const std::string& cls = "#32770") {
    WindowId d = Add(0, cls);
    // Interleaved as in the real dialog, plus classes that must not count.
    for (int i = 0; i < statics; ++i) Add(d, "Static");
    for (int i = 0; i < combos; ++i) Add(d, "ComboBox");
    Add(d, "SHELLDLL_DefView");
    for (int i = 0; i < listBoxes; ++i) Add(d, "ListBox");
    Add(d, "ComboBoxEx32");
    for (int i = 0; i < buttons; ++i) Add(d, "Button");
    Add(d, "ToolbarWindow32");
    Add(d, "ScrollBar");
    return d;
  }
  bool HasClass(WindowId w, const char* cls) const override {
    auto it = classes_.find(w);
    return it != classes_.end() && it->second == cls;
  }
  WindowId NextChild(WindowId parent, WindowId after, const char* cls) const override {
    ++lookups;
    auto it = children_.find(parent);
    if (it == children_.end()) return 0;
    bool passed = after == 0;
    for (WindowId c : it->second) {
      if (!passed) {
        passed = c == after;
        continue;
      }
      if (classes_.at(c) == cls) return c;
    }
    return 0;
  }
  mutable int lookups = 0;

 private:
  WindowId next_ = 100;
  std::map<WindowId, std::string> classes_;
  std::map<WindowId, std::vector<WindowId>> children_;
};

TEST(HookDetect, ExactChildCountsMakeAFileDialog) {
  FakeTree tree;
  EXPECT_TRUE(vt::hook::IsFileDialog(tree, tree.Dialog(1, 2, 4, 4)));
}

TEST(HookDetect, AnyCountOffByOneIsNotAFileDialog) {
  struct Case {
    int lb, cb, bt, st;
    const char* what;
  } cases[] = {
      {1, 2, 4, 5, "fifth Static"}, {1, 2, 5, 4, "fifth Button"}, {1, 3, 4, 4, "third ComboBox"},
      {2, 2, 4, 4, "second ListBox"}, {0, 2, 4, 4, "no ListBox"},  {1, 1, 4, 4, "one ComboBox"},
      {1, 2, 3, 4, "three Buttons"},  {1, 2, 4, 3, "three Statics"}, {0, 0, 0, 0, "no children"},
  };
  for (const Case& c : cases) {
    FakeTree tree;
    EXPECT_FALSE(vt::hook::IsFileDialog(tree, tree.Dialog(c.lb, c.cb, c.bt, c.st))) << c.what;
  }
}

TEST(HookDetect, OtherClassesWithTheRightChildrenAreNotFileDialogs) {
  FakeTree tree;
  EXPECT_FALSE(vt::hook::IsFileDialog(tree, tree.Dialog(1, 2, 4, 4, "#32771")));
  EXPECT_FALSE(vt::hook::IsFileDialog(tree, tree.Dialog(1, 2, 4, 4, "#32770 ")));
  EXPECT_EQ(tree.lookups, 0) << "a window of another class costs no child lookup";
  EXPECT_FALSE(vt::hook::IsFileDialog(tree, 0));
  EXPECT_FALSE(vt::hook::IsFileDialog(tree, 99999)) << "unknown window";
}

TEST(HookDetect, CountingStopsAtOneMoreThanRequired) {
  FakeTree tree;
  WindowId d = tree.Add(0, "#32770");
  for (int i = 0; i < 40; ++i) tree.Add(d, "Static");
  tree.lookups = 0;
  EXPECT_EQ(vt::hook::CountChildrenUpTo(tree, d, "Static", 5), 5);
  EXPECT_EQ(tree.lookups, 5);
  EXPECT_EQ(vt::hook::CountChildrenUpTo(tree, d, "Edit", 5), 0);

  // A dialog with 40 ListBoxes fails on the first rule after two lookups.
  WindowId many = tree.Add(0, "#32770");
  for (int i = 0; i < 40; ++i) tree.Add(many, "ListBox");
  tree.lookups = 0;
  EXPECT_FALSE(vt::hook::IsFileDialog(tree, many));
  EXPECT_EQ(tree.lookups, 2);
}

// The item dialog as Wine builds it, and as Windows nests it (a tree of those classes stands
// in for the real Windows dialog, which cannot run here); neither is a classic one.
TEST(HookDetect, TheItemDialogIsKnownInBothLayoutsAndFindsItsFileNameBox) {
  FakeTree tree;
  const WindowId wine = tree.Add(0, "#32770");
  tree.Add(wine, "idlg_container_pane");
  tree.Add(wine, "Static");
  const WindowId wineEdit = tree.Add(wine, "Edit");
  tree.Add(wine, "ComboBox");
  for (int i = 0; i < 4; ++i) tree.Add(wine, "Button");
  tree.Add(tree.Add(wine, "ExplorerBrowserControl"), "SHELLDLL_DefView");
  EXPECT_TRUE(vt::hook::IsItemDialog(tree, wine));
  EXPECT_EQ(vt::hook::ItemDialogFileNameBox(tree, wine), wineEdit);
  EXPECT_FALSE(vt::hook::IsFileDialog(tree, wine));

  const WindowId windows = tree.Add(0, "#32770");
  const WindowId ui = tree.Add(tree.Add(windows, "DUIViewWndClassName"), "DirectUIHWND");
  tree.Add(ui, "FloatNotifySink");  // the first holds no combo box
  const WindowId edit = tree.Add(tree.Add(tree.Add(ui, "FloatNotifySink"), "ComboBox"), "Edit");
  EXPECT_TRUE(vt::hook::IsItemDialog(tree, windows));
  EXPECT_EQ(vt::hook::ItemDialogFileNameBox(tree, windows), edit);

  // Half of a layout, another class, or a classic dialog: none.
  const WindowId half = tree.Add(0, "#32770");
  tree.Add(half, "ExplorerBrowserControl");
  tree.Add(half, "Edit");
  EXPECT_FALSE(vt::hook::IsItemDialog(tree, half));
  const WindowId other = tree.Add(0, "#32771");
  tree.Add(other, "idlg_container_pane");
  tree.Add(other, "ExplorerBrowserControl");
  tree.Add(other, "Edit");
  EXPECT_FALSE(vt::hook::IsItemDialog(tree, other));
  EXPECT_FALSE(vt::hook::IsItemDialog(tree, tree.Dialog(1, 2, 4, 4)));
  EXPECT_FALSE(vt::hook::IsItemDialog(tree, 0));
}

}  // namespace
