#include "workbook_output.h"

#include <fcntl.h>
#include <unistd.h>
#include <xlsxwriter.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <vector>

#include "atomic_output.h"
#include "export_tables.h"
#include "progress.h"
#include "tool_error.h"
#include "zip_check.h"

namespace {

constexpr double kColumnWidth = 16;

// The library prints its own lines on standard error when it cannot make or write a file; the
// tool says what went wrong in its one line instead, so those are sent to /dev/null meanwhile.
class QuietStderr {
 public:
  QuietStderr() {
    std::fflush(stderr);
    saved_ = dup(STDERR_FILENO);
    const int null = open("/dev/null", O_WRONLY);
    if (saved_ >= 0 && null >= 0) dup2(null, STDERR_FILENO);
    if (null >= 0) close(null);
  }
  ~QuietStderr() {
    std::fflush(stderr);
    if (saved_ < 0) return;
    dup2(saved_, STDERR_FILENO);
    close(saved_);
  }
  QuietStderr(const QuietStderr&) = delete;
  QuietStderr& operator=(const QuietStderr&) = delete;

 private:
  int saved_ = -1;
};

class WorkbookWriter : public TableWriter {
 public:
  WorkbookWriter(lxw_workbook* workbook, const std::string& path) : workbook_(workbook), path_(path) {
    bold_ = workbook_add_format(workbook_);
    format_set_bold(bold_);
  }

  // The rows that hold a cell, per sheet in order.
  const std::vector<size_t>& SheetRows() const { return sheetRows_; }

  void BeginTable(const std::string& name, const std::vector<std::string>& header) override {
    sheetName_ = name;
    sheetRows_.push_back(1);
    {
      QuietStderr quiet;
      sheet_ = workbook_add_worksheet(workbook_, name.c_str());
    }
    if (sheet_ == nullptr) throw ToolError(kExitInput, path_ + ": cannot add the sheet " + name);
    columns_ = static_cast<lxw_col_t>(header.size());
    row_ = 0;
    worksheet_set_column(sheet_, 0, static_cast<lxw_col_t>(columns_ - 1), kColumnWidth, nullptr);
    for (lxw_col_t col = 0; col < columns_; ++col)
      Check(worksheet_write_string(sheet_, 0, col, header[col].c_str(), bold_), col);
    worksheet_freeze_panes(sheet_, 1, 0);
  }

  void AddRow(const std::vector<TableCell>& row) override {
    if (row_ + 1 >= LXW_ROW_MAX) {
      throw ToolError(kExitInput, path_ + ": sheet " + sheetName_ + " would hold more than " +
                                      std::to_string(LXW_ROW_MAX - 1) +
                                      " rows, the most a workbook sheet holds");
    }
    ++row_;
    bool written = false;
    for (size_t i = 0; i < row.size(); ++i) {
      const lxw_col_t col = static_cast<lxw_col_t>(i);
      if (row[i].isNumber) {
        Check(worksheet_write_number(sheet_, row_, col, static_cast<double>(row[i].number), nullptr), col);
        written = true;
      } else if (!row[i].text.empty()) {
        Check(worksheet_write_string(sheet_, row_, col, row[i].text.c_str(), nullptr), col);
        written = true;
      }
    }
    if (written) ++sheetRows_.back();
  }

  void EndTable() override {
    Check(worksheet_autofilter(sheet_, 0, 0, row_, static_cast<lxw_col_t>(columns_ - 1)), 0);
  }

 private:
  void Check(lxw_error error, lxw_col_t col) const {
    if (error == LXW_NO_ERROR) return;
    throw ToolError(kExitInput, path_ + ": sheet " + sheetName_ + ", row " + std::to_string(row_ + 1) +
                                    ", column " + std::to_string(col + 1) + ": " + lxw_strerror(error));
  }

  lxw_workbook* workbook_;
  const std::string& path_;
  lxw_format* bold_ = nullptr;
  lxw_worksheet* sheet_ = nullptr;
  std::string sheetName_;
  lxw_col_t columns_ = 0;
  lxw_row_t row_ = 0;
  std::vector<size_t> sheetRows_;
};

// Counts a pattern in text that arrives in pieces, also where it spans two of them.
class PatternCount {
 public:
  explicit PatternCount(std::string pattern) : pattern_(std::move(pattern)) {}
  void Add(const char* data, size_t size) {
    window_.append(data, size);
    for (size_t at = window_.find(pattern_); at != std::string::npos; at = window_.find(pattern_, at + 1))
      ++count_;
    window_.erase(0, window_.size() - std::min(window_.size(), pattern_.size() - 1));
  }
  size_t Count() const { return count_; }

 private:
  std::string pattern_;
  std::string window_;
  size_t count_ = 0;
};

// Reads a written workbook back (zip_check.h) and checks what the archive cannot show: a part that
// the library wrote through a temporary file of its own may have been cut off there and then
// packed whole. So every XML part must close its root element, and every sheet must hold each
// row written to it, opened and closed.
class WrittenWorkbookCheck : public ZipEntryVisitor {
 public:
  explicit WrittenWorkbookCheck(const std::vector<size_t>& sheetRows) : sheetRows_(sheetRows) {}

  void BeginEntry(const std::string& name) override {
    name_ = name;
    head_.clear();
    tail_.clear();
    rowStarts_ = PatternCount("<row ");
    rowEnds_ = PatternCount("</row>");
  }
  void EntryData(const char* data, size_t size) override {
    head_.append(data, std::min(size, kHead - std::min(kHead, head_.size())));
    tail_.append(data, size);
    tail_.erase(0, tail_.size() - std::min(tail_.size(), kTail));
    rowStarts_.Add(data, size);
    rowEnds_.Add(data, size);
  }
  void EndEntry() override {
    const bool xml = EndsWith(name_, ".xml") || EndsWith(name_, ".rels");
    if (xml && problem_.empty()) {
      const std::string root = RootName();
      const size_t last = tail_.find_last_not_of(" \t\r\n");
      if (root.empty() || last == std::string::npos ||
          !EndsWith(tail_.substr(0, last + 1), "</" + root + ">"))
        problem_ = "part " + name_ + " is cut short";
    }
    for (size_t i = 0; i < sheetRows_.size(); ++i) {
      if (name_ != "xl/worksheets/sheet" + std::to_string(i + 1) + ".xml") continue;
      seenSheets_.push_back(i);
      if (problem_.empty() && (rowStarts_.Count() != sheetRows_[i] || rowEnds_.Count() != sheetRows_[i])) {
        problem_ = "part " + name_ + " holds " +
                   std::to_string(std::min(rowStarts_.Count(), rowEnds_.Count())) + " whole rows of " +
                   std::to_string(sheetRows_[i]);
      }
    }
  }

  // After the read: "" or what is wrong.
  std::string Problem() const {
    if (!problem_.empty()) return problem_;
    for (size_t i = 0; i < sheetRows_.size(); ++i) {
      if (std::find(seenSheets_.begin(), seenSheets_.end(), i) == seenSheets_.end())
        return "sheet " + std::to_string(i + 1) + " is missing";
    }
    return "";
  }

 private:
  static constexpr size_t kHead = 512;
  static constexpr size_t kTail = 64;

  static bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
  }
  // The name of the first element, past the XML declaration.
  std::string RootName() const {
    for (size_t at = head_.find('<'); at != std::string::npos; at = head_.find('<', at + 1)) {
      if (at + 1 < head_.size() && std::isalpha(static_cast<unsigned char>(head_[at + 1]))) {
        const size_t end = head_.find_first_of(" \t\r\n/>", at + 1);
        return end == std::string::npos ? "" : head_.substr(at + 1, end - at - 1);
      }
    }
    return "";
  }

  const std::vector<size_t>& sheetRows_;
  std::string name_;
  std::string head_;
  std::string tail_;
  PatternCount rowStarts_{"<row "};
  PatternCount rowEnds_{"</row>"};
  std::vector<size_t> seenSheets_;
  std::string problem_;
};

}  // namespace

void WriteWorkbookFile(const std::string& path, const SectionContent& content) {
  WriteFileAtomicallyByName(path, [&](const std::string& temp) {
    lxw_workbook_options options = {};
    options.constant_memory = LXW_TRUE;
    lxw_workbook* workbook = workbook_new_opt(temp.c_str(), &options);
    if (workbook == nullptr) throw ToolError(kExitInput, path + ": cannot start the workbook");
    std::vector<size_t> sheetRows;
    try {
      WorkbookWriter writer(workbook, path);
      Progress progress("exporting " + path, content.figures.size(), "figures",
                        content.figures.size() > kProgressFigures);
      WriteExportTables(content, TextEncoding::kUtf8, writer, &progress);
      sheetRows = writer.SheetRows();
    } catch (...) {
      lxw_workbook_free(workbook);
      throw;
    }
    lxw_error error;
    {
      QuietStderr quiet;
      error = workbook_close(workbook);
    }
    if (error != LXW_NO_ERROR)
      throw ToolError(kExitInput, path + ": cannot write the workbook: " + lxw_strerror(error));
    // The library does not notice all of its short writes (a full disk): the file is read back
    // before it may replace the output.
    WrittenWorkbookCheck check(sheetRows);
    std::string problem = ReadZipFile(temp, &check);
    if (problem.empty()) problem = check.Problem();
    if (!problem.empty())
      throw ToolError(kExitInput,
                      path + ": cannot write the workbook: the file written is not whole: " + problem);
  });
}
