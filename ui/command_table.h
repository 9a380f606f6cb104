#pragma once
// One table of the program's commands: id, menu text, status-bar prompt,
// accelerators, toolbar image, what runs, and whether the entry is checked
// or enabled. The menu bar, the toolbar, the accelerator table and the
// status prompts are all made from it, so they cannot disagree.
// Portable: the window layer turns the table into menus and buttons.

#include <functional>
#include <string>
#include <vector>

namespace veltrace::ui {

enum KeyModifier : unsigned { noModifier = 0, controlKey = 1, shiftKey = 2, altKey = 4 };

struct Accelerator {
  int virtualKey = 0;  // a Windows virtual-key code; letters are their capitals
  unsigned modifiers = noModifier;
  bool operator==(const Accelerator&) const = default;
};

inline constexpr int noToolbarImage = -1;

struct Command {
  int id = 0;
  std::string menuText;  // with & for the mnemonic and \t before the key text
  std::string prompt;    // the status bar's text while the entry is selected
  std::vector<Accelerator> accelerators;
  int toolbarImage = noToolbarImage;  // index in the toolbar's image strip
  std::function<void()> run;
  std::function<bool()> checked;  // unset: never checked
  std::function<bool()> enabled;  // unset: always enabled
};

// A menu of the menu bar: its title and command ids in order, 0 for a
// separator.
struct MenuColumn {
  std::string title;
  std::vector<int> entries;
  bool atRightEnd = false;  // drawn at the right end of the menu bar
};

inline constexpr int separatorEntry = 0;

class CommandTable {
 public:
  // Adds a command; a second command with the same id replaces the first.
  void add(Command command);
  void addMenu(MenuColumn menu) { menus_.push_back(std::move(menu)); }
  void setToolbar(std::vector<int> buttons) { toolbar_ = std::move(buttons); }

  const Command* find(int id) const;
  // Runs the command when it exists, has a handler and is enabled.
  bool execute(int id) const;
  bool isChecked(int id) const;
  bool isEnabled(int id) const;
  // The prompt of a command; empty for unknown ids.
  std::string promptFor(int id) const;
  // The command an accelerator runs, or 0.
  int commandForKey(const Accelerator& key) const;

  const std::vector<Command>& commands() const { return commands_; }
  const std::vector<MenuColumn>& menus() const { return menus_; }
  const std::vector<int>& toolbar() const { return toolbar_; }  // 0 = separator

 private:
  std::vector<Command> commands_;
  std::vector<MenuColumn> menus_;
  std::vector<int> toolbar_;
};

// The text of a menu entry without its mnemonic marker and key text:
// "&Open Workspace...\tStrg+O" gives "Open Workspace...".
std::string plainMenuText(const std::string& menuText);

}  // namespace veltrace::ui
