// Depth-first walks over a host record tree in child order: the one walk every pass of the
// plug-in over a drawing uses (saving, binding, searching a handle or a text).
//
// The walk keeps its own stack, so a deeply nested drawing cannot exhaust the call stack. The
// tree must not change while it is walked (records may be bound and given attributes, but not
// added, moved or removed).
#pragma once

#include <vector>

#include "host/zcdb.h"
#include "host/zcdb_rec.h"

enum class WalkStep {
  kDescend,    // go on below this record
  kSkipBelow,  // this record is done; leave out everything below it
  kStop,       // end the whole walk
};

// Calls visit(rec) for root and, below every record for which it answers kDescend, for each
// child in order. leave(rec) is called once all children of a descended record are done; it
// answers false to end the walk. Returns false when the walk was ended, else true.
template <class Visit, class Leave>
bool WalkRecordTree(ZCdbRecBase* root, Visit&& visit, Leave&& leave) {
  WalkStep step = visit(root);
  if (step != WalkStep::kDescend) return step != WalkStep::kStop;
  // Most records have no children: they need no stack.
  if (root->GetFirstChild() == nullptr) return leave(root);
  struct Level {
    ZCdbRecBase* table;
    ZCdbRecBase* next;  // the child to visit next, or null when all are done
  };
  std::vector<Level> stack{{root, root->GetFirstChild()}};
  while (!stack.empty()) {
    ZCdbRecBase* child = stack.back().next;
    if (child == nullptr) {
      ZCdbRecBase* done = stack.back().table;
      stack.pop_back();
      if (!leave(done)) return false;
      continue;
    }
    stack.back().next = stack.back().table->GetNextChild(child);
    step = visit(child);
    if (step == WalkStep::kStop) return false;
    if (step == WalkStep::kDescend) stack.push_back({child, child->GetFirstChild()});
  }
  return true;
}

template <class Visit>
bool WalkRecordTree(ZCdbRecBase* root, Visit&& visit) {
  return WalkRecordTree(root, visit, [](ZCdbRecBase*) { return true; });
}

// Calls visit(block) for each attribute parent block above the record of handle in db, nearest
// first; visit answers false to end the walk. Returns false when the walk was ended, else true.
template <class Visit>
bool ForEachAttrParentBlk(ZCdb& db, DWORD handle, Visit&& visit) {
  for (ZCdbBlk* b = db.FindAttrParentBlk(handle); b != nullptr; b = db.FindAttrParentBlk(b->GetHandle())) {
    if (!visit(b)) return false;
  }
  return true;
}
