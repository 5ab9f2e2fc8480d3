// export writes every attribute as a row: a CSV file that an RFC 4180 reader gives back field by
// field in both encodings, a workbook whose sheets hold the same rows, and never a partial file.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <map>
#include <nlohmann/json.hpp>
#include <string>

#include "support/sjis_text.h"
#include "tool/tool_runner.h"
#include "zip_check.h"

using Json = nlohmann::ordered_json;

namespace {

using Record = std::vector<std::string>;

// RFC 4180: records end in CR LF; a field in double quotes may hold commas, CR, LF and doubled
// quotes. Sets error on anything else.
std::vector<Record> ParseCsv(const std::string& text, std::string& error) {
  std::vector<Record> records;
  Record record;
  std::string field;
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] == '"') {
      for (++i;; ++i) {
        if (i >= text.size()) {
          error = "unterminated quoted field";
          return records;
        }
        if (text[i] == '"') {
          if (i + 1 < text.size() && text[i + 1] == '"') {
            field += '"';
            ++i;
          } else {
            ++i;
            break;
          }
        } else {
          field += text[i];
        }
      }
    }
    while (i < text.size() && text[i] != ',' && text[i] != '\r') {
      if (text[i] == '"' || text[i] == '\n') {
        error = "stray quote or bare line feed at byte " + std::to_string(i);
        return records;
      }
      field += text[i++];
    }
    if (i >= text.size()) {
      error = "last record without CR LF";
      return records;
    }
    record.push_back(field);
    field.clear();
    if (text[i] == ',') {
      ++i;
      continue;
    }
    if (text.compare(i, 2, "\r\n") != 0) {
      error = "CR without LF at byte " + std::to_string(i);
      return records;
    }
    i += 2;
    records.push_back(record);
    record.clear();
  }
  return records;
}

// The tables of the CSV file, split at the empty records.
std::vector<std::vector<Record>> Tables(const std::vector<Record>& records) {
  std::vector<std::vector<Record>> tables(1);
  for (const Record& record : records) {
    if (record == Record{""}) {
      tables.emplace_back();
    } else {
      tables.back().push_back(record);
    }
  }
  return tables;
}

const Record kAttributeHeader = {"handle",     "figure name",    "attribute type", "set id", "set name",
                                 "group path", "attribute name", "type",           "unit",   "kind",
                                 "value",      "zukeiName",      "target handle"};

// A section whose texts need quoting in CSV (comma, quote, line feeds) or have no Shift-JIS form
// (8140ff, e0), with a nested group, a target, a stub and a contour.
Json Document() {
  return Json::parse(R"({"format": "sxfattr-dump", "formatVersion": 1,
    "title": {"projectName": "道路, \"改良\"", "constructionName": "", "contractClass": "", "drawingName": "平面図",
              "drawingNumber": "3$$12", "drawingType": "", "scale": {"sjis": "8140ff"}, "year": 2005, "month": 4,
              "day": 1, "companyName": "", "officeName": "東京\n事務所"},
    "setDefinitions": [{"id": "1", "name": "道路施設", "version": "1.0", "designer": "設計課"}],
    "figures": [
      {"handle": 3, "name": "車道", "attrType": 1, "contour": null, "image": null, "attr": {"setRefs": [
        {"name": "1", "attrs": [{"name": "幅員", "type": "LEN", "unit": "m", "kind": 10, "value": "7.5",
                                 "zukeiName": ""},
                                {"name": "ターゲット", "type": "INN", "unit": "", "kind": 10, "value": "4",
                                 "zukeiName": "標識"}],
         "groups": [{"name": "舗装", "attrs": [], "groups": [{"name": "表層", "groups": [], "attrs": [
           {"name": "備考", "type": "STR", "unit": "", "kind": -3, "value": "a,b \"c\"\r\nd", "zukeiName": ""},
           {"name": "x", "type": "STR", "unit": "", "kind": 10, "value": {"sjis": "e0"}, "zukeiName": ""}]}]}]}]}},
      {"handle": 4, "name": "", "attrType": 3, "attr": {"name": "表題_尺度", "type": "", "unit": ""},
       "contour": {"name": "等高線", "type": "LEN", "unit": "m", "kind": 10, "value": "13.25", "zukeiName": "A"},
       "image": null}]})");
}

// The rows the document gives, written in UTF-8.
std::vector<std::vector<Record>> ExpectedTables() {
  return {
      {{"field", "value"},
       {"projectName", "道路, \"改良\""},
       {"constructionName", ""},
       {"contractClass", ""},
       {"drawingName", "平面図"},
       {"drawingNumber", "3$$12"},
       {"drawingType", ""},
       {"scale", "{\"sjis\":\"8140ff\"}"},
       {"year", "2005"},
       {"month", "4"},
       {"day", "1"},
       {"companyName", ""},
       {"officeName", "東京\n事務所"}},
      {{"id", "name", "version", "designer"}, {"1", "道路施設", "1.0", "設計課"}},
      {kAttributeHeader,
       {"3", "車道", "attribute-file record", "1", "道路施設", "", "幅員", "LEN", "m", "10", "7.5", "", ""},
       {"3", "車道", "attribute-file record", "1", "道路施設", "", "ターゲット", "INN", "", "10", "4", "標識",
        "4"},
       {"3", "車道", "attribute-file record", "1", "道路施設", "舗装/表層", "備考", "STR", "", "-3",
        "a,b \"c\"\r\nd", "", ""},
       {"3", "車道", "attribute-file record", "1", "道路施設", "舗装/表層", "x", "STR", "", "10",
        "{\"sjis\":\"e0\"}", "", ""},
       {"4", "", "attribute stub", "", "", "", "表題_尺度", "", "", "", "", "", ""},
       {"4", "", "contour", "", "", "", "等高線", "LEN", "m", "10", "13.25", "A", ""}},
  };
}

// The text of a cell of a sheet's XML ("" when the cell is missing or empty): an inline string or
// a number.
std::string CellOf(const std::string& sheet, const std::string& ref) {
  const size_t at = sheet.find("<c r=\"" + ref + "\"");
  if (at == std::string::npos) return "";
  const size_t end = sheet.find("</c>", at);
  const std::string cell = sheet.substr(at, end - at);
  for (const char* open : {"<t>", "<t xml:space=\"preserve\">", "<v>"}) {
    const size_t start = cell.find(open);
    if (start == std::string::npos) continue;
    const size_t from = start + std::string(open).size();
    return cell.substr(from, cell.find('<', from) - from);
  }
  return "";
}

}  // namespace

class ExportTest : public ToolTest {
 protected:
  void SetUp() override {
    ToolTest::SetUp();
    WriteBytes(Path("doc.json"), Document().dump());
    const ToolResult r = RunTool({"import", Path("doc.json"), Path("section")});
    ASSERT_EQ(r.status, 0) << r.err;
  }
};

TEST_F(ExportTest, CsvReadsBackFieldByFieldInBothEncodings) {
  const ToolResult utf8 = RunTool({"export", Path("section"), "--csv", Path("utf8.csv")});
  ASSERT_EQ(utf8.status, 0) << utf8.err;
  EXPECT_EQ(utf8.out + utf8.err, "");
  const ToolResult sjis =
      RunTool({"export", Path("section"), "--csv", Path("sjis.csv"), "--encoding", "sjis"});
  ASSERT_EQ(sjis.status, 0) << sjis.err;

  const std::string bytes = ReadBytes(Path("utf8.csv"));
  ASSERT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF") << "UTF-8 starts with the byte-order mark";
  std::string error;
  const auto tables = Tables(ParseCsv(bytes.substr(3), error));
  ASSERT_EQ(error, "");
  EXPECT_EQ(tables, ExpectedTables());

  // Shift-JIS: no mark, the section's own bytes; texts without a Shift-JIS form keep the hex form.
  const std::string sjisBytes = ReadBytes(Path("sjis.csv"));
  ASSERT_NE(sjisBytes.substr(0, 3), "\xEF\xBB\xBF");
  const auto sjisTables = Tables(ParseCsv(sjisBytes, error));
  ASSERT_EQ(error, "");
  auto expected = ExpectedTables();
  for (auto& table : expected)
    for (Record& record : table)
      for (std::string& field : record) field = Sjis(field);
  EXPECT_EQ(sjisTables, expected);
}

TEST_F(ExportTest, WorkbookHoldsTheSheetsWithFrozenHeadersAndFilters) {
  const ToolResult r = RunTool({"export", Path("section"), "--xlsx", Path("out.xlsx")});
  ASSERT_EQ(r.status, 0) << r.err;
  struct : ZipEntryVisitor {
    std::map<std::string, std::string> entries;
    std::string* current = nullptr;
    void BeginEntry(const std::string& name) override { current = &entries[name]; }
    void EntryData(const char* data, size_t size) override { current->append(data, size); }
    void EndEntry() override {}
  } zip;
  ASSERT_EQ(ReadZipFile(Path("out.xlsx"), &zip), "");
  std::map<std::string, std::string>& entries = zip.entries;
  const std::string& workbook = entries["xl/workbook.xml"];
  EXPECT_NE(workbook.find("<sheet name=\"Title\" sheetId=\"1\""), std::string::npos) << workbook;
  EXPECT_NE(workbook.find("<sheet name=\"Set definitions\" sheetId=\"2\""), std::string::npos) << workbook;
  EXPECT_NE(workbook.find("<sheet name=\"Attributes\" sheetId=\"3\""), std::string::npos) << workbook;

  const std::string& title = entries["xl/worksheets/sheet1.xml"];
  const std::string& defs = entries["xl/worksheets/sheet2.xml"];
  const std::string& attrs = entries["xl/worksheets/sheet3.xml"];
  const char* const columns = "ABCDEFGHIJKLM";
  for (size_t i = 0; i < kAttributeHeader.size(); ++i)
    EXPECT_EQ(CellOf(attrs, std::string(1, columns[i]) + "1"), kAttributeHeader[i]);
  for (const std::string* sheet : {&title, &defs, &attrs}) {
    EXPECT_NE(
        sheet->find("<pane ySplit=\"1\" topLeftCell=\"A2\" activePane=\"bottomLeft\" state=\"frozen\"/>"),
        std::string::npos)
        << *sheet;
  }
  EXPECT_NE(title.find("<autoFilter ref=\"A1:B13\"/>"), std::string::npos);
  EXPECT_NE(defs.find("<autoFilter ref=\"A1:D2\"/>"), std::string::npos);
  EXPECT_NE(attrs.find("<autoFilter ref=\"A1:M7\"/>"), std::string::npos);

  EXPECT_EQ(CellOf(title, "B8"), "{\"sjis\":\"8140ff\"}");
  EXPECT_EQ(CellOf(title, "B9"), "2005");
  EXPECT_EQ(CellOf(defs, "B2"), "道路施設");
  EXPECT_EQ(CellOf(attrs, "A3"), "3");
  EXPECT_EQ(CellOf(attrs, "F4"), "舗装/表層");
  EXPECT_EQ(CellOf(attrs, "J4"), "-3");
  EXPECT_EQ(CellOf(attrs, "M3"), "4") << "the target's handle";
  EXPECT_NE(attrs.find("<c r=\"M3\"><v>4</v>"), std::string::npos) << "handles are numbers";
  EXPECT_EQ(CellOf(attrs, "C7"), "contour");
}

// A failed export leaves an existing output as it was and no temporary file beside it: a usage
// error, a text too long for a workbook cell, and a workbook cut off by a full disk.
TEST_F(ExportTest, AFailedExportLeavesTheOutputUntouched) {
  const std::string previous = "the previous output";
  auto expectUntouched = [&](const std::string& out) {
    EXPECT_EQ(ReadBytes(out), previous);
    for (const std::string& name : Files()) EXPECT_EQ(name.find(".tmp-"), std::string::npos) << name;
  };

  WriteBytes(Path("out"), previous);
  ToolResult r = RunTool({"export", Path("section"), "--csv", Path("out"), "--xlsx", Path("out")});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(RunTool({"export", Path("section")}).status, 2);
  EXPECT_EQ(RunTool({"export", Path("section"), "--csv", Path("out"), "--encoding", "latin1"}).status, 2);
  expectUntouched(Path("out"));

  Json doc = Document();
  doc["figures"][0]["attr"]["setRefs"][0]["attrs"][0]["value"] = std::string(40000, 'x');
  WriteBytes(Path("long.json"), doc.dump());
  ASSERT_EQ(RunTool({"import", Path("long.json"), Path("long")}).status, 0);
  r = RunTool({"export", Path("long"), "--xlsx", Path("out")});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.ErrLines(), 1) << r.err;
  EXPECT_NE(r.err.find(Path("out") + ": sheet Attributes, row 2, column 11: "), std::string::npos) << r.err;
  expectUntouched(Path("out"));

  // The full disk (full_disk_test.cpp tries every limit in-process): the process's file-size
  // limit, past which write() fails once SIGXFSZ is ignored. The tool under it (a child keeps the
  // limit): one line, as for every error, though the library writing the workbook has its own say
  // on standard error.
  const auto previousHandler = signal(SIGXFSZ, SIG_IGN);
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  ASSERT_EQ(RunTool({"export", Path("section"), "--xlsx", Path("whole")}).status, 0);
  rlimit limited = saved;
  limited.rlim_cur = ReadBytes(Path("whole")).size() / 2;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
  r = RunTool({"export", Path("section"), "--xlsx", Path("out")});
  setrlimit(RLIMIT_FSIZE, &saved);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.ErrLines(), 1) << r.err;
  EXPECT_NE(r.err.find("sxfattr: " + Path("out") + ": cannot write the workbook: "), std::string::npos)
      << r.err;
  expectUntouched(Path("out"));
  signal(SIGXFSZ, previousHandler);
}
