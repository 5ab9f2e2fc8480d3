// ZCdbUndo: the host's undo manager, as far as external (attribute database) items go.
//
// The host records undo steps: BeginStep opens one, EndStep closes it. While a step is open
// (IsBegin non-zero) an attribute database adds external items with SetExternalUndo. Undo calls
// the items of the newest step with UNDOFUNC_UNDO, newest item first, and moves the step to the
// redo stack; Redo calls them with UNDOFUNC_REDO, oldest item first, and moves the step back.
//
// Release: every item is called exactly once with UNDOFUNC_DISCARD, after which its data is not
// used again: when its step leaves the redo stack because a new non-empty step is closed, when
// the manager is cleared and when it is destroyed. An item added while no step is open is
// released at once (it could never be undone).
//
// The host's own record changes are not undone by this stand-in; only external items are.
#pragma once

#include <vector>

#include "platform/visibility.h"

class ZCdbRecBase;

enum UNDOFUNC_MODE { UNDOFUNC_UNDO = 1, UNDOFUNC_REDO = 2, UNDOFUNC_DISCARD = 3 };

typedef void (*UNDOFUNC)(UNDOFUNC_MODE mode, ZCdbRecBase* rec, void* data);

class SXF_HOST_API ZCdbUndo {
 public:
  ZCdbUndo();
  // Releases every item of both stacks.
  virtual ~ZCdbUndo();
  ZCdbUndo(const ZCdbUndo&) = delete;
  ZCdbUndo& operator=(const ZCdbUndo&) = delete;

  // Non-zero while a step is being recorded.
  int IsBegin() const { return depth_ > 0; }

  // Adds an item to the open step: func will be called later with rec and data. Returns 1; 0
  // when func is null (nothing happens) or no step is open (the item is released at once).
  int SetExternalUndo(UNDOFUNC func, ZCdbRecBase* rec, void* data);

  // Opens a step. Calls nest: only the outermost EndStep closes the step.
  void BeginStep();
  // Closes the step (at the outermost level). A step with items goes on the undo stack and
  // releases every step of the redo stack; an empty step is dropped and the redo stack kept.
  // Returns 0 when no step was open.
  int EndStep();

  // Undo the newest step / redo the newest undone step. Return 1 when a step was undone or
  // redone, 0 when there was none or a step is being recorded.
  int Undo();
  int Redo();

  // Releases every item of both stacks (a step being recorded is released too and stays open).
  void Clear();

  int GetUndoCount() const { return static_cast<int>(undo_.size()); }
  int GetRedoCount() const { return static_cast<int>(redo_.size()); }

 private:
  struct Item {
    UNDOFUNC func;
    ZCdbRecBase* rec;
    void* data;
  };
  typedef std::vector<Item> Step;

  static void Release(std::vector<Step>& steps);

  int depth_ = 0;
  Step open_;
  std::vector<Step> undo_;
  std::vector<Step> redo_;
};
