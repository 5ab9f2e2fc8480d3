#include "section_loader.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "exports/entry.h"
#include "persist/section_read.h"
#include "persist/section_scan.h"
#include "progress.h"
#include "sjis_display.h"
#include "tool_error.h"

namespace {

// What the plug-in shows the user during a read is held back: a read that fails reports one line
// of its own, and a read that succeeds passes the text on after it.
std::vector<std::string>* g_messages = nullptr;

int CollectMessage(const char* text, UINT, UINT) {
  if (g_messages != nullptr) {
    std::string shown;
    if (!DecodeSjis(text != nullptr ? text : "", shown)) shown = text != nullptr ? text : "";
    std::replace(shown.begin(), shown.end(), '\n', ' ');
    g_messages->push_back(shown);
  }
  return IDOK;
}

class MessageCapture {
 public:
  explicit MessageCapture(std::vector<std::string>& into)
      : previous_(SetAfxMessageBoxHandler(CollectMessage)) {
    g_messages = &into;
  }
  ~MessageCapture() {
    g_messages = nullptr;
    SetAfxMessageBoxHandler(previous_);
  }

 private:
  AfxMessageBoxHandler previous_;
};

std::string At(const std::string& name, uint64_t offset, const std::string& what) {
  return name + ": at byte " + std::to_string(offset) + ": " + what;
}

}  // namespace

HostDrawing::HostDrawing(const char* baseFolder, bool withUndo) : env_(baseFolder), db_(withUndo ? 1 : 0) {
  adb_ = static_cast<SxfZCdbAttrDB*>(db_.CreateAttrDB(ZCdbAttrDBEntry, &env_));
  if (adb_ == nullptr) throw ToolError(kExitInput, "the plug-in made no attribute database");
}

std::vector<FigureRef> StoredFigures(const SxfZCdbAttrDB& adb) {
  std::vector<FigureRef> figures;
  POSITION pos = adb.GetFirstEntry();
  while (pos != nullptr) {
    DWORD handle = 0;
    const SxfZCdbFigure* fig = nullptr;
    adb.GetNextEntry(pos, handle, fig);
    if (fig != nullptr) figures.push_back({handle, fig});
  }
  std::sort(figures.begin(), figures.end(),
            [](const FigureRef& a, const FigureRef& b) { return a.handle < b.handle; });
  return figures;
}

SectionContent LoadedSection::Content() const {
  SectionContent content;
  content.version = version;
  const SxfZCdbAttrDB& adb = drawing->Attr();
  content.title = adb.GetStoredTitleInfo();
  CDWordArrayX ids;
  adb.GetAttrSetDefCnt(&ids);
  for (int i = 0; i < ids.GetCount(); ++i) {
    const SxfZCdbAttrSetDef* def = adb.FindAttrSetDefData(ids[i]);
    if (def != nullptr) content.setDefinitions.push_back(*def);
  }
  content.figures = figures;
  return content;
}

std::vector<BYTE> ReadFileBytes(const std::string& path) {
  std::FILE* fp = std::fopen(path.c_str(), "rb");
  if (fp == nullptr) throw ToolError(kExitInput, path + ": cannot read: " + std::strerror(errno));
  std::vector<BYTE> bytes;
  BYTE chunk[1 << 16];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, fp)) > 0) bytes.insert(bytes.end(), chunk, chunk + got);
  const bool failed = std::ferror(fp) != 0;
  const int error = errno;
  std::fclose(fp);
  if (failed) throw ToolError(kExitInput, path + ": cannot read: " + std::strerror(error));
  if (bytes.size() > 0xFFFFFFFFu)
    throw ToolError(kExitInput, path + ": too large for a section (4 GiB or more)");
  return bytes;
}

LoadedSection LoadSection(const std::string& name, std::vector<BYTE> bytes) {
  LoadedSection section;
  section.path = name;
  const std::string problem = SectionVersionProblem(bytes.data(), bytes.size(), section.version);
  if (!problem.empty()) throw ToolError(kExitInput, At(name, 0, problem));

  // The plug-in's own reader says where and why the section stops reading.
  struct FirstDamage : SectionReporter {
    void Damage(uint64_t at, const std::string& what) override {
      if (found) return;
      found = true;
      offset = at;
      phrase = what;
    }
    bool found = false;
    uint64_t offset = 0;
    std::string phrase;
  } damage;

  section.drawing = std::make_unique<HostDrawing>();
  int ok = 0;
  uint64_t stoppedAt = 0;
  {
    Progress progress("reading " + name, bytes.size(), "bytes", bytes.size() > kProgressBytes);
    ProgressMemFile file(bytes.data(), static_cast<UINT>(bytes.size()), progress);
    MessageCapture capture(section.messages);
    try {
      ok = ReadDrawingSection(section.drawing->Attr(), 1, &file, &section.drawing->Db(), &damage);
    } catch (CException&) {
      ok = 0;
    }
    stoppedAt = file.GetPosition();
  }
  if (!ok) {
    if (damage.found) throw ToolError(kExitInput, At(name, damage.offset, damage.phrase));
    throw ToolError(kExitInput, At(name, stoppedAt, "the plug-in's reader refused the section"));
  }
  if (stoppedAt < bytes.size()) {
    throw ToolError(kExitInput,
                    At(name, stoppedAt,
                       std::to_string(bytes.size() - stoppedAt) + " bytes follow the end of the section"));
  }
  section.figures = StoredFigures(section.drawing->Attr());
  return section;
}

LoadedSection LoadSectionFile(const std::string& path) {
  return LoadSection(path, ReadFileBytes(path));
}
