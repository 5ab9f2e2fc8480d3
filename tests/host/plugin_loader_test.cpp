#include "host/plugin_loader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "host/environ_obj.h"
#include "host/zcdb.h"

namespace {

TEST(PluginLoader, LoadsThePlugInAndReportsMissingSymbolsAndFiles) {
  PluginLoader loader;
  EXPECT_EQ(loader.GetSymbol("SxfAttrVersion"), nullptr);
  EXPECT_FALSE(loader.GetError().IsEmpty());

  ASSERT_EQ(loader.Load(SXF_PLUGIN_PATH), 1) << loader.GetError().GetString();
  EXPECT_TRUE(loader.IsLoaded());
  typedef const char* (*VersionFunc)();
  VersionFunc version = reinterpret_cast<VersionFunc>(loader.GetSymbol("SxfAttrVersion"));
  ASSERT_NE(version, nullptr) << loader.GetError().GetString();
  // A dotted version number: digits and at least two dots.
  const std::string text = version();
  EXPECT_EQ(text.find_first_not_of("0123456789."), std::string::npos) << text;
  EXPECT_GE(std::count(text.begin(), text.end(), '.'), 2) << text;

  EXPECT_EQ(loader.GetSymbol("NoSuchSymbolInThePlugIn"), nullptr);
  EXPECT_NE(loader.GetError().Find("NoSuchSymbolInThePlugIn"), -1) << loader.GetError().GetString();
  // A failed lookup leaves the library usable.
  EXPECT_NE(loader.GetSymbol("SxfAttrVersion"), nullptr);

  PluginLoader missing;
  EXPECT_EQ(missing.Load("/nonexistent/dir/libnothing.so"), 0);
  EXPECT_FALSE(missing.IsLoaded());
  EXPECT_NE(missing.GetError().Find("libnothing.so"), -1) << missing.GetError().GetString();
  EXPECT_EQ(missing.GetAttrDBEntry(), nullptr);
  EXPECT_EQ(missing.Load(""), 0);

  loader.Unload();
  EXPECT_FALSE(loader.IsLoaded());
  EXPECT_EQ(loader.GetSymbol("SxfAttrVersion"), nullptr);
}

// Entry functions of the shape a plug-in exports, counting what they make and what is deleted.
int g_made = 0;
int g_deleted = 0;
const CEnvironObj* g_env = nullptr;

class CountedAttrDB : public ZCdbAttrDB {
 public:
  CountedAttrDB() : ZCdbAttrDB("SXF") { ++g_made; }
  ~CountedAttrDB() override { ++g_deleted; }
};

ZCdbAttrDB* CountingEntry(const CEnvironObj& env) {
  g_env = &env;
  return new CountedAttrDB();
}

ZCdbAttrDB* FailingEntry(const CEnvironObj&) {
  return nullptr;
}

TEST(PluginLoader, DrawingCreatesItsDatabaseThroughAnEntryFunction) {
  g_made = g_deleted = 0;
  CEnvironObj env("/app");
  {
    ZCdb db;
    ZCdbAttrDB* adb = db.CreateAttrDB(CountingEntry, env);
    ASSERT_NE(adb, nullptr);
    EXPECT_EQ(g_env, &env);
    EXPECT_EQ(db.GetAttrDB("SXF"), adb);
    EXPECT_EQ(db.GetAttrDB("sxf"), nullptr);
    EXPECT_EQ(adb->GetZCdb(), &db);
    EXPECT_EQ(adb->GetUndo(), db.GetUndo());

    // A second database under the same name is made, refused and deleted.
    EXPECT_EQ(db.CreateAttrDB(CountingEntry, env), nullptr);
    EXPECT_EQ(g_made, 2);
    EXPECT_EQ(g_deleted, 1);
    EXPECT_EQ(db.CreateAttrDB(FailingEntry, env, "OTHER"), nullptr);
    EXPECT_EQ(db.CreateAttrDB(nullptr, env, "OTHER"), nullptr);
    EXPECT_EQ(db.GetAttrDBCount(), 1);
  }
  EXPECT_EQ(g_deleted, 2);
}

}  // namespace
