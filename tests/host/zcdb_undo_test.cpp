#include "host/zcdb_undo.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

// Every call of the test callback, as "mode:item" (mode u, r or x for undo, redo, discard).
std::vector<std::string> g_calls;

// data points at a char naming the item.
void RecordingUndoFunc(UNDOFUNC_MODE mode, ZCdbRecBase*, void* data) {
  const char tag = mode == UNDOFUNC_UNDO ? 'u' : mode == UNDOFUNC_REDO ? 'r' : 'x';
  g_calls.push_back(std::string(1, tag) + ":" + *static_cast<const char*>(data));
}

std::map<std::string, int> ReleaseCounts() {
  std::map<std::string, int> counts;
  for (const std::string& call : g_calls) {
    if (call[0] == 'x') ++counts[call.substr(2)];
  }
  return counts;
}

void AddStep(ZCdbUndo& undo, const std::vector<const char*>& items) {
  undo.BeginStep();
  for (const char* item : items)
    EXPECT_EQ(undo.SetExternalUndo(RecordingUndoFunc, nullptr, const_cast<char*>(item)), 1);
  undo.EndStep();
}

const char kA[] = "a", kB[] = "b", kC[] = "c", kD[] = "d", kE[] = "e";

TEST(ZCdbUndo, UndoRunsBackwardRedoForwardAndNewStepReleasesRedoSteps) {
  g_calls.clear();
  {
    ZCdbUndo undo;
    EXPECT_FALSE(undo.IsBegin());
    AddStep(undo, {kA, kB});
    AddStep(undo, {kC});
    EXPECT_EQ(undo.GetUndoCount(), 2);

    ASSERT_EQ(undo.Undo(), 1);
    ASSERT_EQ(undo.Undo(), 1);
    EXPECT_EQ(undo.Undo(), 0);
    EXPECT_EQ(g_calls, (std::vector<std::string>{"u:c", "u:b", "u:a"}));

    g_calls.clear();
    ASSERT_EQ(undo.Redo(), 1);
    EXPECT_EQ(g_calls, (std::vector<std::string>{"r:a", "r:b"}));
    EXPECT_EQ(undo.GetRedoCount(), 1);

    // A new step with an item drops the step of c from the redo stack.
    g_calls.clear();
    AddStep(undo, {kD});
    EXPECT_EQ(g_calls, (std::vector<std::string>{"x:c"}));
    EXPECT_EQ(undo.Redo(), 0);

    // An item offered outside a step is released at once; nested steps close only at the
    // outermost end, and undo waits for it.
    g_calls.clear();
    EXPECT_EQ(undo.SetExternalUndo(RecordingUndoFunc, nullptr, const_cast<char*>(kE)), 0);
    EXPECT_EQ(g_calls, (std::vector<std::string>{"x:e"}));
    undo.BeginStep();
    undo.BeginStep();
    undo.EndStep();
    EXPECT_EQ(undo.Undo(), 0);
    undo.EndStep();
    EXPECT_EQ(undo.EndStep(), 0);
    g_calls.clear();
    ASSERT_EQ(undo.Undo(), 1);
    ASSERT_EQ(undo.Redo(), 1);
    EXPECT_EQ(g_calls, (std::vector<std::string>{"u:d", "r:d"}));
    g_calls.clear();
  }
  // Destruction releases what is left, each item once.
  EXPECT_EQ(ReleaseCounts(), (std::map<std::string, int>{{"a", 1}, {"b", 1}, {"d", 1}}));
  EXPECT_EQ(g_calls.size(), 3u);
}

}  // namespace
