#include "host/zcdb_undo.h"

#include <utility>

ZCdbUndo::ZCdbUndo() = default;

ZCdbUndo::~ZCdbUndo() {
  Clear();
}

int ZCdbUndo::SetExternalUndo(UNDOFUNC func, ZCdbRecBase* rec, void* data) {
  if (!func) return 0;
  if (!IsBegin()) {
    // Nothing could ever undo it; release it now so its data is not lost.
    func(UNDOFUNC_DISCARD, rec, data);
    return 0;
  }
  open_.push_back({func, rec, data});
  return 1;
}

void ZCdbUndo::BeginStep() {
  ++depth_;
}

int ZCdbUndo::EndStep() {
  if (depth_ == 0) return 0;
  if (--depth_ > 0) return 1;
  if (open_.empty()) return 1;
  // Take the redo steps off the stack before calling anyone, so a callback that touches the
  // manager sees a consistent state.
  std::vector<Step> dropped;
  dropped.swap(redo_);
  undo_.push_back(std::move(open_));
  open_.clear();
  Release(dropped);
  return 1;
}

int ZCdbUndo::Undo() {
  if (IsBegin() || undo_.empty()) return 0;
  Step step = std::move(undo_.back());
  undo_.pop_back();
  for (auto it = step.rbegin(); it != step.rend(); ++it) it->func(UNDOFUNC_UNDO, it->rec, it->data);
  redo_.push_back(std::move(step));
  return 1;
}

int ZCdbUndo::Redo() {
  if (IsBegin() || redo_.empty()) return 0;
  Step step = std::move(redo_.back());
  redo_.pop_back();
  for (const Item& item : step) item.func(UNDOFUNC_REDO, item.rec, item.data);
  undo_.push_back(std::move(step));
  return 1;
}

void ZCdbUndo::Clear() {
  std::vector<Step> steps;
  steps.swap(redo_);
  for (Step& step : undo_) steps.push_back(std::move(step));
  undo_.clear();
  steps.push_back(std::move(open_));
  open_.clear();
  Release(steps);
}

void ZCdbUndo::Release(std::vector<Step>& steps) {
  for (auto step = steps.rbegin(); step != steps.rend(); ++step) {
    for (auto it = step->rbegin(); it != step->rend(); ++it) it->func(UNDOFUNC_DISCARD, it->rec, it->data);
  }
  steps.clear();
}
