// The plug-in as a host meets it: loaded from its shared library, its database created through
// the exported entry and driven through the host's notifications and undo steps.
#include <gtest/gtest.h>

#include "attrdb/attrdb.h"
#include "exports/record_functions.h"
#include "host/host.h"
#include "host/plugin_host.h"
#include "support/test_figures.h"

TEST(Plugin, HostCreatesTheDatabaseThroughTheLoadedLibrary) {
  SxfPluginHost host;
  ASSERT_EQ(1, host.Load(SXF_PLUGIN_PATH)) << host.GetError();
  CEnvironObj env("/data");
  {
    ZCdb db;
    ZCdbAttrDB* made = host.CreateSxfAttrDB(db, &env);
    ASSERT_NE(nullptr, made);
    EXPECT_EQ(made, db.GetAttrDB("SXF"));
    EXPECT_STREQ("SXF", made->GetName());
    EXPECT_EQ(nullptr, host.CreateSxfAttrDB(db, &env));  // one per drawing

    ZCdbRecBase* a = new ZCdbTbl;
    ZCdbRecBase* b = new ZCdbTbl;
    db.AddRecord(a);
    db.AddRecord(b);
    db.BeginUndoStep();
    EXPECT_EQ(a->GetHandle(), SXF_SetRecFigure(a, SetFigure("1", {b->GetHandle()})));
    db.EndUndoStep();
    SxfZCdbAttrDB* adb = SXF_GetAttrDB(&db);
    ASSERT_EQ(made, adb);
    EXPECT_EQ(1, adb->IsTargetOnly(b->GetHandle()));

    // The host's own deletion and undo reach the database through its virtual slots.
    db.MarkDeleted(b);
    SxfZCdbFigure out;
    ASSERT_EQ(1, SXF_GetRecFigure(a, out));
    EXPECT_TRUE(Targets(out).empty());
    db.Unmark(b);
    ASSERT_EQ(1, db.Undo());
    EXPECT_EQ(0, SXF_GetRecFigure(a, out));
    ASSERT_EQ(1, db.Redo());
    ASSERT_EQ(1, SXF_GetRecFigure(a, out));
    EXPECT_EQ(std::vector<DWORD>{b->GetHandle()}, Targets(out));
    // Items left on the stacks are released when the drawing goes, before the library.
  }
  PluginLoader loader;
  ASSERT_EQ(1, loader.Load(SXF_PLUGIN_PATH));
  EXPECT_NE(nullptr, loader.GetSymbol("SxfUndoFunc"));
  EXPECT_NE(nullptr, loader.GetSymbol("ZCDbAttrFigureSetVer3"));
  // The entry takes the environment by address; without one it makes no database.
  ZCdbAttrDBEntryFunc entry = loader.GetAttrDBEntry();
  ASSERT_NE(nullptr, entry);
  EXPECT_EQ(nullptr, entry(nullptr));
  EXPECT_EQ(nullptr, loader.GetSymbol("NoSuchSymbolInThePlugIn"));
  EXPECT_NE(-1, loader.GetError().Find("NoSuchSymbolInThePlugIn")) << loader.GetError().GetString();
}
