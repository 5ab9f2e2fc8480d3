#include "csv_output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "atomic_output.h"
#include "progress.h"
#include "tool_error.h"

namespace {

// Appends a field, quoted where RFC 4180 asks for it. Scanning bytes is safe in Shift-JIS too:
// the second byte of a double-byte character is 0x40 or above, never a comma, quote, CR or LF.
void AppendField(std::string& line, const std::string& field) {
  if (field.find_first_of(",\"\r\n") == std::string::npos) {
    line += field;
    return;
  }
  line += '"';
  for (char c : field) {
    if (c == '"') line += '"';
    line += c;
  }
  line += '"';
}

class CsvWriter : public TableWriter {
 public:
  CsvWriter(std::FILE* file, const std::string& path) : file_(file), path_(path) {}

  void BeginTable(const std::string&, const std::vector<std::string>& header) override {
    if (tables_++ > 0) Put("\r\n");
    std::vector<TableCell> row(header.size());
    for (size_t i = 0; i < header.size(); ++i) row[i].text = header[i];
    AddRow(row);
  }

  void AddRow(const std::vector<TableCell>& row) override {
    line_.clear();
    for (size_t i = 0; i < row.size(); ++i) {
      if (i > 0) line_ += ',';
      if (row[i].isNumber) {
        line_ += std::to_string(row[i].number);
      } else {
        AppendField(line_, row[i].text);
      }
    }
    line_ += "\r\n";
    Put(line_);
  }

  void EndTable() override {}

  void Put(const std::string& bytes) {
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size())
      throw ToolError(kExitInput, path_ + ": cannot write: " + std::strerror(errno));
  }

 private:
  std::FILE* file_;
  const std::string& path_;
  std::string line_;
  int tables_ = 0;
};

}  // namespace

void WriteCsvFile(const std::string& path, const SectionContent& content, TextEncoding encoding) {
  WriteFileAtomicallyByName(path, [&](const std::string& temp) {
    std::FILE* file = std::fopen(temp.c_str(), "wb");
    if (file == nullptr) throw ToolError(kExitInput, path + ": cannot write: " + std::strerror(errno));
    try {
      CsvWriter writer(file, path);
      if (encoding == TextEncoding::kUtf8) writer.Put("\xEF\xBB\xBF");
      Progress progress("exporting " + path, content.figures.size(), "figures",
                        content.figures.size() > kProgressFigures);
      WriteExportTables(content, encoding, writer, &progress);
      if (std::fflush(file) != 0)
        throw ToolError(kExitInput, path + ": cannot write: " + std::strerror(errno));
    } catch (...) {
      std::fclose(file);
      throw;
    }
    if (std::fclose(file) != 0) throw ToolError(kExitInput, path + ": cannot write: " + std::strerror(errno));
  });
}
