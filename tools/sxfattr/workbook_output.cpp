#include "workbook_output.h"

#include <fcntl.h>
#include <unistd.h>
#include <xlsxwriter.h>

#include <cstdio>

#include "atomic_output.h"
#include "export_tables.h"
#include "progress.h"
#include "tool_error.h"

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

  void BeginTable(const std::string& name, const std::vector<std::string>& header) override {
    sheetName_ = name;
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
    for (size_t i = 0; i < row.size(); ++i) {
      const lxw_col_t col = static_cast<lxw_col_t>(i);
      if (row[i].isNumber) {
        Check(worksheet_write_number(sheet_, row_, col, static_cast<double>(row[i].number), nullptr), col);
      } else if (!row[i].text.empty()) {
        Check(worksheet_write_string(sheet_, row_, col, row[i].text.c_str(), nullptr), col);
      }
    }
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
};

}  // namespace

void WriteWorkbookFile(const std::string& path, const SectionContent& content) {
  WriteFileAtomicallyByName(path, [&](const std::string& temp) {
    lxw_workbook_options options = {};
    options.constant_memory = LXW_TRUE;
    lxw_workbook* workbook = workbook_new_opt(temp.c_str(), &options);
    if (workbook == nullptr) throw ToolError(kExitInput, path + ": cannot start the workbook");
    try {
      WorkbookWriter writer(workbook, path);
      Progress progress("exporting " + path, content.figures.size(), "figures",
                        content.figures.size() > kProgressFigures);
      WriteExportTables(content, TextEncoding::kUtf8, writer, &progress);
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
  });
}
