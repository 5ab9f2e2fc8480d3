// Walks over group trees with a stack of their own, so a tree of any depth that a caller builds
// (readers stop at kMaxGroupDepth, callers need not) is searched without exhausting the call
// stack; the stack lives in the walk's frame up to kInlineDepth levels, so the trees a drawing
// holds (a level or two) are walked without allocating.
//
// Tree order: a group's own attributes come before its sub-groups, the sub-groups in list order,
// each completely before the next; null sub-group slots are skipped.
#pragma once

#include <vector>

#include "host/zcdb_rec.h"
#include "model/attr_grp.h"
#include "model/figure.h"
#include "model/japanese_texts.h"

namespace group_walk {

// Calls enter(g) for root and every group below it in tree order, and afterSub(parent) each time
// a sub-group of parent has been walked completely. Either answers false to end the walk.
// Returns false when the walk was ended.
template <class Group, class Enter, class AfterSub>
bool Walk(Group& root, Enter&& enter, AfterSub&& afterSub) {
  if (!enter(root)) return false;
  struct Frame {
    Group* group;
    int next;  // the sub-group to walk next
  };
  constexpr int kInlineDepth = 16;
  Frame inlineFrames[kInlineDepth];
  std::vector<Frame> deeper;  // frames below kInlineDepth levels, allocated only when needed
  int depth = 0;
  auto at = [&](int i) -> Frame& { return i < kInlineDepth ? inlineFrames[i] : deeper[i - kInlineDepth]; };
  auto push = [&](Group* group) {
    if (depth < kInlineDepth) {
      inlineFrames[depth] = Frame{group, 0};
    } else {
      deeper.push_back(Frame{group, 0});
    }
    ++depth;
  };
  auto pop = [&] {
    --depth;
    if (depth >= kInlineDepth) deeper.pop_back();
  };
  push(&root);
  while (depth > 0) {
    Frame& top = at(depth - 1);
    const auto& subs = top.group->info->groups;
    if (top.next >= subs.GetCount()) {
      pop();
      if (depth > 0 && !afterSub(*at(depth - 1).group)) return false;
      continue;
    }
    Group* sub = subs[top.next++];
    if (!sub) continue;
    if (!enter(*sub)) return false;
    push(sub);
  }
  return true;
}

template <class Group, class Enter>
bool Walk(Group& root, Enter&& enter) {
  return Walk(root, enter, [](Group&) { return true; });
}

// Calls visit(handle) for every target handle in the tree of root (0xFFFFFFFF skipped), in tree
// order: what SxfZCdbAttrGrp::GetTarget lists.
template <class Visit>
void ForEachTarget(const SxfZCdbAttrGrp& root, Visit&& visit) {
  Walk(root, [&](const SxfZCdbAttrGrp& g) {
    const TVector<SxfZCdbATRU>& attrs = g.info->attrs;
    for (int k = 0; k < attrs.GetCount(); ++k) {
      const DWORD handle = attrs[k].IsTarget();
      if (handle != ZCDB_NO_HANDLE) visit(handle);
    }
    return true;
  });
}

// The same for every set reference of fig in turn: what SxfZCdbFigure::GetTarget lists.
template <class Visit>
void ForEachTarget(const SxfZCdbFigure& fig, Visit&& visit) {
  if (fig.attrType != SXF_ATTR_ATRF) return;
  const SxfZCdbATRF* atrf = fig.ATRF_GetAttr();
  if (atrf == nullptr) return;
  for (int i = 0; i < atrf->GetAttrSetRefCnt(); ++i) {
    const SxfZCdbAttrSetRef* ref = atrf->GetAttrSetRefData(i);
    if (ref != nullptr) ForEachTarget(static_cast<const SxfZCdbAttrGrp&>(*ref), visit);
  }
}

// Reads, for a run of figures, what ForEachTarget reads of each, one level of the objects at a
// time across the run (figure, attribute-file record, its list, the set references, their
// contents, the attributes, their names and the handles of targets). The reads of one level do
// not wait for each other, so the run costs about one trip to memory per level instead of one per
// object, and the walks that follow find the objects in the cache. It covers the set references'
// own attributes; deeper groups are left to the walk. Nothing changes.
inline void TouchTargetPaths(SxfZCdbFigure* const* figures, size_t count) {
  constexpr size_t kRun = 64;
  auto keep = [](const void* p) {
#if defined(__GNUC__)
    asm volatile("" : : "r"(p));
#else
    volatile const void* sink = p;
    (void)sink;
#endif
  };
  const SxfZCdbAttrGrpInfo* infos[kRun];
  size_t n = 0;
  for (size_t first = 0; first < count; first += kRun) {
    const size_t end = first + kRun < count ? first + kRun : count;
    const SxfZCdbATRF* atrfs[kRun];
    size_t k = 0;
    for (size_t i = first; i < end; ++i) {
      if (figures[i] != nullptr && figures[i]->attrType == SXF_ATTR_ATRF)
        atrfs[k++] = figures[i]->ATRF_GetAttr();
    }
    const SxfZCdbATRFInfo* lists[kRun];
    size_t m = 0;
    for (size_t i = 0; i < k; ++i) {
      if (atrfs[i] != nullptr) lists[m++] = atrfs[i]->info;
    }
    const SxfZCdbAttrSetRef* refs[kRun];
    size_t r = 0;
    for (size_t i = 0; i < m; ++i) {
      if (lists[i]->GetCount() > 0 && r < kRun) refs[r++] = (*lists[i])[0];
    }
    n = 0;
    for (size_t i = 0; i < r; ++i) {
      if (refs[i] != nullptr) infos[n++] = refs[i]->info;
    }
    for (size_t i = 0; i < n; ++i) keep(infos[i]->attrs.GetData());
    for (size_t i = 0; i < n; ++i) {
      const TVector<SxfZCdbATRU>& attrs = infos[i]->attrs;
      for (int a = 0; a < attrs.GetCount(); ++a) keep(attrs[a].name.GetString());
    }
    constexpr int kTargetName = sizeof(kJpTarget) - 1;
    for (size_t i = 0; i < n; ++i) {
      const TVector<SxfZCdbATRU>& attrs = infos[i]->attrs;
      for (int a = 0; a < attrs.GetCount(); ++a) {
        if (attrs[a].name.GetLength() == kTargetName) keep(attrs[a].value.GetString());
      }
    }
    for (size_t i = 0; i < n; ++i) {
      const TVector<SxfZCdbATRU>& attrs = infos[i]->attrs;
      for (int a = 0; a < attrs.GetCount(); ++a) {
        if (attrs[a].name.GetLength() == kTargetName) {
          keep(reinterpret_cast<const void*>(static_cast<size_t>(static_cast<BYTE>(attrs[a].value[0]))));
        }
      }
    }
  }
}

}  // namespace group_walk
