// Two drawings, each with its own database, loaded, edited and saved at the same time on two
// threads. The plug-in keeps nothing per thread: what one read or write needs is owned by it, and
// what drawings share is memory (the slab classes, text buffers copied between threads). Under
// ThreadSanitizer (make tsan) a data race between the two threads fails the run; in every build
// each thread must come out with the bytes the same work gives on one thread alone.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "support/test_drawing.h"

namespace {

constexpr DWORD kFigures = 1500;

// Builds a drawing of figures referencing each other, saves it, loads it into a fresh drawing
// (read, count, bind), edits it there (attach, delete and commit, copy with targets, undo) and
// returns what it saves then. seed varies the values, so the two threads' texts differ.
std::string LoadEditSave(int seed) {
  TestDrawing source;
  std::vector<ZCdbRecBase*> recs;
  for (DWORD i = 0; i < kFigures; ++i) recs.push_back(source.AddPlain());
  for (DWORD i = 0; i < kFigures; ++i) {
    const DWORD target = recs[(i * 7 + 3) % kFigures]->GetHandle();
    const std::string width = std::to_string(seed * 1000 + static_cast<int>(i % 97));
    source.adb->SetRecFigure(recs[i], SetFigure("1", {target}, width.c_str()));
  }
  const std::string saved = source.Save();

  TestDrawing loaded;
  for (DWORD i = 0; i < kFigures; ++i) loaded.Load(recs[i]->GetHandle());
  CMemFile file(reinterpret_cast<BYTE*>(const_cast<char*>(saved.data())), static_cast<UINT>(saved.size()));
  EXPECT_EQ(1, loaded.adb->Read(0, &file, &loaded.db));

  for (DWORD h = 1; h <= kFigures; h += 11)
    loaded.adb->SetRecFigure(loaded.Find(h), SetFigure("1", {h}, "set"));
  for (DWORD h = 5; h <= kFigures; h += 9) loaded.db.MarkDeleted(loaded.Find(h));
  loaded.db.Commit();
  loaded.adb->BeginCopyWithTarget(loaded.adb);
  for (DWORD h = 2; h <= kFigures; h += 13) {
    if (ZCdbRecBase* rec = loaded.Find(h)) loaded.db.CopyRecord(rec);
  }
  loaded.adb->EndCopyWithTarget();
  loaded.InStep([&] { loaded.adb->SetRecFigure(loaded.Find(3), SetFigure("1", {4}, "undone")); });
  loaded.db.Undo();
  return loaded.Save();
}

TEST(TwoThreads, DrawingsLoadedEditedAndSavedAtOnceComeOutAsAlone) {
  const std::string alone1 = LoadEditSave(1);
  const std::string alone2 = LoadEditSave(2);
  ASSERT_NE(alone1, alone2);
  std::string together1, together2;
  std::thread first([&] { together1 = LoadEditSave(1); });
  std::thread second([&] { together2 = LoadEditSave(2); });
  first.join();
  second.join();
  EXPECT_EQ(together1, alone1);
  EXPECT_EQ(together2, alone2);
}

// Texts a read shares between figures are copied and let go of on two threads at once, after the
// read: every copy counts, whichever thread makes it.
TEST(TwoThreads, FiguresOfOneReadCopiedOnTwoThreads) {
  TestDrawing source;
  for (DWORD i = 0; i < 200; ++i) {
    ZCdbRecBase* rec = source.AddPlain();
    source.adb->SetRecFigure(rec, SetFigure("1", {rec->GetHandle()}, "shared"));
  }
  const std::string saved = source.Save();
  TestDrawing loaded;
  CMemFile file(reinterpret_cast<BYTE*>(const_cast<char*>(saved.data())), static_cast<UINT>(saved.size()));
  ASSERT_EQ(1, loaded.adb->Read(1, &file, &loaded.db));
  std::vector<const SxfZCdbFigure*> figures;
  for (POSITION pos = loaded.adb->GetFirstEntry(); pos != nullptr;) {
    DWORD handle = 0;
    const SxfZCdbFigure* fig = nullptr;
    loaded.adb->GetNextEntry(pos, handle, fig);
    if (fig != nullptr) figures.push_back(fig);
  }
  ASSERT_EQ(figures.size(), 200u);
  auto copyAll = [&](std::vector<std::string>& widths) {
    for (int round = 0; round < 20; ++round) {
      for (const SxfZCdbFigure* fig : figures) {
        SxfZCdbFigure copy(*fig);
        if (round == 0) widths.push_back(Width(copy));
      }
    }
  };
  std::vector<std::string> widths1, widths2;
  std::thread first([&] { copyAll(widths1); });
  std::thread second([&] { copyAll(widths2); });
  first.join();
  second.join();
  EXPECT_EQ(widths1, std::vector<std::string>(200, "shared"));
  EXPECT_EQ(widths2, widths1);
}

}  // namespace
