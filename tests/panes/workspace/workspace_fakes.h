#pragma once
// Stand-ins for the windows around the workspace models: a tree control that
// records what it is told (and can refuse), a pane factory whose panes record
// their calls, and a user interface with scripted answers.

#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "panes/workspace/pane_factory.h"
#include "panes/workspace/workspace_commands.h"
#include "panes/workspace/workspace_tree.h"

namespace veltrace::test {

class RecordingControl : public TreeControl {
 public:
  struct Shown {
    ItemId parent = noItem;
    std::string label;
    bool onDemand = false;
  };

  bool insertItem(ItemId item, ItemId parent, const std::string& label, bool labelOnDemand) override {
    if (failInserts) return false;
    items[item] = {parent, label, labelOnDemand};
    log.push_back("insert " + label);
    return true;
  }
  bool deleteItem(ItemId item) override {
    log.push_back("delete " + items[item].label);
    if (failDeletes) return false;
    eraseWithChildren(item);
    return true;
  }
  void setLabel(ItemId item, const std::string& label) override {
    items[item].label = label;
    log.push_back("label " + label);
  }
  void expand(ItemId item) override { expanded.insert(item); }
  void select(ItemId item) override { selected = item; }
  void editLabel(ItemId item, int maxLength) override {
    editing = item;
    editLimit = maxLength;
  }

  // Labels of the children shown under parent, in insertion order (ids grow).
  std::vector<std::string> childLabels(ItemId parent) const {
    std::vector<std::string> labels;
    for (const auto& [id, shown] : items)
      if (shown.parent == parent) labels.push_back(shown.label);
    return labels;
  }

  std::map<ItemId, Shown> items;
  std::vector<std::string> log;
  std::set<ItemId> expanded;
  ItemId selected = noItem;
  ItemId editing = noItem;
  int editLimit = -1;
  bool failInserts = false;
  bool failDeletes = false;

 private:
  void eraseWithChildren(ItemId item) {
    std::vector<ItemId> children;
    for (const auto& [id, shown] : items)
      if (shown.parent == item) children.push_back(id);
    for (ItemId child : children) eraseWithChildren(child);
    items.erase(item);
  }
};

// Everything the panes were asked, in order, across all panes.
struct PaneCalls {
  std::vector<std::string> calls;
};

class RecordingPane : public Pane {
 public:
  RecordingPane(PaneCalls& calls, PaneRequest request) : calls_(calls), request(std::move(request)) {}
  ~RecordingPane() override { calls_.calls.push_back("destroy " + name()); }
  void show(const std::string& title) override { calls_.calls.push_back("show " + title); }
  void clearBoundRows(int registerNumber) override {
    calls_.calls.push_back(name() + " clear c" + std::to_string(registerNumber));
  }
  void sceneReplaced() override { calls_.calls.push_back(name() + " refill"); }

  std::string name() const { return request.effect->name + "/" + std::to_string(static_cast<int>(request.kind)); }

  PaneCalls& calls_;
  PaneRequest request;
};

class RecordingPanes : public PaneFactory {
 public:
  // Kinds the factory makes; the others do not exist yet.
  std::set<PaneKind> available{PaneKind::variableEditor, PaneKind::renderStates, PaneKind::vertexShader,
                               PaneKind::pixelShader, PaneKind::renderSettings};
  PaneCalls calls;
  std::vector<RecordingPane*> made;

  std::unique_ptr<Pane> createPane(const PaneRequest& request) override {
    if (available.count(request.kind) == 0) return nullptr;
    auto pane = std::make_unique<RecordingPane>(calls, request);
    made.push_back(pane.get());
    return pane;
  }
};

class ScriptedUi : public WorkspaceUi {
 public:
  bool confirm(const std::string& text, const std::string& caption) override {
    questions.push_back(caption + ": " + text);
    return answerOk;
  }
  std::optional<std::string> chooseFile(const FileDialogRequest& request) override {
    dialogs.push_back(request);
    if (chosenFiles.empty()) return std::nullopt;
    std::optional<std::string> chosen = chosenFiles.front();
    chosenFiles.pop_front();
    return chosen;
  }
  void loadScene() override { steps.push_back("load scene"); }
  void deleteScene() override { steps.push_back("delete scene"); }
  void effectDeleting(Effect& effect) override { steps.push_back("forget " + effect.name); }
  void beforeDiscard() override { steps.push_back("recovery copy"); }

  bool answerOk = true;
  std::deque<std::optional<std::string>> chosenFiles;  // none = cancelled
  std::vector<std::string> questions;
  std::vector<FileDialogRequest> dialogs;
  std::vector<std::string> steps;
};

}  // namespace veltrace::test
