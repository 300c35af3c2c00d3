#include "edit/action_manager.h"

#include <algorithm>

bool TMacroAction::Execute() {
  std::vector<const TWAction*> failed;
  for (const TRPointerAction& action : actions) {
    if (!action->Execute()) failed.push_back(action.get());
  }
  std::erase_if(actions, [&failed](const TRPointerAction& action) {
    return std::find(failed.begin(), failed.end(), action.get()) != failed.end();
  });
  return true;
}

TRPointerAction TMacroAction::CreateInverse() const {
  auto inverse = std::make_shared<TMacroAction>(name);
  for (auto part = actions.rbegin(); part != actions.rend(); ++part) {
    inverse->Append((*part)->CreateInverse());
  }
  return inverse;
}

void TActionManager::RecordAction(TRPointerAction action) {
  undoList_.push_front(std::move(action));
  redoList_.clear();
  changeCallback.Call();
}

void TActionManager::Reverse(std::deque<TRPointerAction>& from, std::deque<TRPointerAction>& to) {
  if (from.empty()) return;
  const TRPointerAction newest = from.front();
  from.pop_front();
  TRPointerAction inverse = newest->CreateInverse();
  if (inverse->Execute()) to.push_front(std::move(inverse));
}

void TActionManager::Undo() {
  if (undoList_.empty()) return;
  Reverse(undoList_, redoList_);
  changeCallback.Call();
}

void TActionManager::Redo() {
  if (redoList_.empty()) return;
  Reverse(redoList_, undoList_);
  changeCallback.Call();
}

void TActionManager::ClearHistory() {
  undoList_.clear();
  redoList_.clear();
}

std::string TActionManager::UndoText() const {
  return undoList_.empty() ? "Undo action" : "Undo " + undoList_.front()->Name();
}

std::string TActionManager::RedoText() const {
  return redoList_.empty() ? "Redo action" : "Redo " + redoList_.front()->Name();
}
