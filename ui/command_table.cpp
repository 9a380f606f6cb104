#include "ui/command_table.h"

#include <algorithm>

namespace veltrace::ui {

void CommandTable::add(Command command) {
  auto same = std::find_if(commands_.begin(), commands_.end(), [&](const Command& c) { return c.id == command.id; });
  if (same != commands_.end()) {
    *same = std::move(command);
  } else {
    commands_.push_back(std::move(command));
  }
}

const Command* CommandTable::find(int id) const {
  auto found = std::find_if(commands_.begin(), commands_.end(), [&](const Command& c) { return c.id == id; });
  return found == commands_.end() ? nullptr : &*found;
}

bool CommandTable::execute(int id) const {
  const Command* command = find(id);
  if (!command || !command->run || !isEnabled(id)) return false;
  command->run();
  return true;
}

bool CommandTable::isChecked(int id) const {
  const Command* command = find(id);
  return command && command->checked && command->checked();
}

bool CommandTable::isEnabled(int id) const {
  const Command* command = find(id);
  return command && (!command->enabled || command->enabled());
}

std::string CommandTable::promptFor(int id) const {
  const Command* command = find(id);
  return command ? command->prompt : std::string();
}

int CommandTable::commandForKey(const Accelerator& key) const {
  for (const Command& command : commands_) {
    for (const Accelerator& accelerator : command.accelerators) {
      if (accelerator == key) return command.id;
    }
  }
  return 0;
}

std::string plainMenuText(const std::string& menuText) {
  std::string plain;
  for (char c : menuText) {
    if (c == '\t') break;
    if (c != '&') plain += c;
  }
  return plain;
}

}  // namespace veltrace::ui
