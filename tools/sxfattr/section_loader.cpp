#include "section_loader.h"

#include <sys/stat.h>

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

namespace {

// A section's version, the title the database holds and its active set definitions; no figures.
SectionContent SectionHead(const SxfZCdbAttrDB& adb, DWORD version) {
  SectionContent head;
  head.version = version;
  head.title = adb.GetStoredTitleInfo();
  CDWordArrayX ids;
  adb.GetAttrSetDefCnt(&ids);
  for (int i = 0; i < ids.GetCount(); ++i) {
    const SxfZCdbAttrSetDef* def = adb.FindAttrSetDefData(ids[i]);
    if (def != nullptr) head.setDefinitions.push_back(*def);
  }
  return head;
}

}  // namespace

SectionContent LoadedSection::Content() const {
  SectionContent content = SectionHead(drawing->Attr(), version);
  content.figures = figures;
  return content;
}

std::vector<BYTE> ReadFileBytes(const std::string& path) {
  std::FILE* fp = std::fopen(path.c_str(), "rb");
  if (fp == nullptr) throw ToolError(kExitInput, path + ": cannot read: " + std::strerror(errno));
  std::vector<BYTE> bytes;
  // One read of the size the file has; a file that is no regular file (or grows meanwhile) goes
  // on in pieces until its end.
  struct stat st;
  if (fstat(fileno(fp), &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
    bytes.resize(static_cast<size_t>(st.st_size));
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), fp));
  }
  BYTE chunk[1 << 16];
  size_t got;
  while (!std::ferror(fp) && (got = std::fread(chunk, 1, sizeof chunk, fp)) > 0)
    bytes.insert(bytes.end(), chunk, chunk + got);
  const bool failed = std::ferror(fp) != 0;
  const int error = errno;
  std::fclose(fp);
  if (failed) throw ToolError(kExitInput, path + ": cannot read: " + std::strerror(error));
  if (bytes.size() > 0xFFFFFFFFu)
    throw ToolError(kExitInput, path + ": too large for a section (4 GiB or more)");
  return bytes;
}

namespace {

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
};

// A file on disk that reports how far its reader has got.
class ProgressDiskFile : public CFile {
 public:
  explicit ProgressDiskFile(Progress& progress) : progress_(progress) {}
  UINT Read(void* buffer, UINT count) override {
    const UINT got = CFile::Read(buffer, count);
    done_ += got;
    progress_.Update(done_);
    return got;
  }

 private:
  Progress& progress_;
  ULONGLONG done_ = 0;
};

// Runs read (the plug-in's reader over file, whose section holds size bytes) and turns what it
// says into the tool's errors: the damage it reports, or bytes left after the section's end.
template <class Read>
void ReadWhole(const std::string& name, CFile& file, uint64_t size, std::vector<std::string>& messages,
               Read&& read) {
  FirstDamage damage;
  int ok = 0;
  uint64_t stoppedAt = 0;
  {
    MessageCapture capture(messages);
    try {
      ok = read(file, damage);
    } catch (CException&) {
      ok = 0;
    }
    stoppedAt = file.GetPosition();
  }
  if (!ok) {
    if (damage.found) throw ToolError(kExitInput, At(name, damage.offset, damage.phrase));
    throw ToolError(kExitInput, At(name, stoppedAt, "the plug-in's reader refused the section"));
  }
  if (stoppedAt < size) {
    throw ToolError(
        kExitInput,
        At(name, stoppedAt, std::to_string(size - stoppedAt) + " bytes follow the end of the section"));
  }
}

// The size and version of the section in the regular file at path, checked; false for a file
// that is no regular file, which is then read whole.
bool ProbeSectionFile(const std::string& path, uint64_t& size, DWORD& version) {
  std::FILE* fp = std::fopen(path.c_str(), "rb");
  if (fp == nullptr) throw ToolError(kExitInput, path + ": cannot read: " + std::strerror(errno));
  struct stat st;
  if (fstat(fileno(fp), &st) != 0 || !S_ISREG(st.st_mode)) {
    std::fclose(fp);
    return false;
  }
  size = static_cast<uint64_t>(st.st_size);
  BYTE head[sizeof(DWORD)] = {};
  const size_t got = std::fread(head, 1, sizeof head, fp);
  std::fclose(fp);
  if (size > 0xFFFFFFFFu) throw ToolError(kExitInput, path + ": too large for a section (4 GiB or more)");
  const std::string problem = SectionVersionProblem(head, got, version);
  if (!problem.empty()) throw ToolError(kExitInput, At(path, 0, problem));
  return true;
}

void OpenForReading(const std::string& path, CFile& file) {
  CFileException error;
  if (!file.Open(path.c_str(), CFile::modeRead, &error))
    throw ToolError(kExitInput, path + ": cannot read: " + std::strerror(errno != 0 ? errno : EIO));
}

// Reads the section held in bytes through read (see ReadWhole), showing progress for a large
// one, and returns its version; name is how messages name it.
template <class Read>
DWORD ReadSection(const std::string& name, const std::vector<BYTE>& bytes, std::vector<std::string>& messages,
                  Read&& read) {
  DWORD version = 0;
  const std::string problem = SectionVersionProblem(bytes.data(), bytes.size(), version);
  if (!problem.empty()) throw ToolError(kExitInput, At(name, 0, problem));
  Progress progress("reading " + name, bytes.size(), "bytes", bytes.size() > kProgressBytes);
  // The reader only reads from the file it is given.
  ProgressMemFile file(const_cast<BYTE*>(bytes.data()), static_cast<UINT>(bytes.size()), progress);
  ReadWhole(name, file, bytes.size(), messages, read);
  return version;
}

// The same for the section file at path: a regular file is read from disk as the reader asks,
// after its size and version are checked; anything else (a pipe) is read whole first.
template <class Read>
DWORD ReadSectionFile(const std::string& path, std::vector<std::string>& messages, Read&& read) {
  uint64_t size = 0;
  DWORD version = 0;
  if (!ProbeSectionFile(path, size, version)) return ReadSection(path, ReadFileBytes(path), messages, read);
  Progress progress("reading " + path, size, "bytes", size > kProgressBytes);
  ProgressDiskFile file(progress);
  OpenForReading(path, file);
  ReadWhole(path, file, size, messages, read);
  return version;
}

// A section read into a new drawing through readFrom(messages, read), which is ReadSection or
// ReadSectionFile over the section's source.
template <class Source>
LoadedSection Loaded(const std::string& name, Source&& readFrom) {
  LoadedSection section;
  section.path = name;
  section.drawing = std::make_unique<HostDrawing>();
  section.version = readFrom(section.messages, [&](CFile& f, SectionReporter& reporter) {
    return ReadDrawingSection(section.drawing->Attr(), 1, &f, &section.drawing->Db(), &reporter);
  });
  section.figures = StoredFigures(section.drawing->Attr());
  return section;
}

// The same for a tally: the figures are counted, not kept.
template <class Source>
SectionTally Tallied(Source&& readFrom) {
  SectionTally tally;
  HostDrawing drawing;
  const DWORD version = readFrom(tally.messages, [&](CFile& f, SectionReporter& reporter) {
    return TallyDrawingSection(drawing.Attr(), &f, &reporter, tally.figures);
  });
  tally.head = SectionHead(drawing.Attr(), version);
  return tally;
}

}  // namespace

LoadedSection LoadSection(const std::string& name, const std::vector<BYTE>& bytes) {
  return Loaded(name, [&](std::vector<std::string>& messages, auto&& read) {
    return ReadSection(name, bytes, messages, read);
  });
}

LoadedSection LoadSectionFile(const std::string& path) {
  return Loaded(path, [&](std::vector<std::string>& messages, auto&& read) {
    return ReadSectionFile(path, messages, read);
  });
}

SectionTally TallySection(const std::string& name, const std::vector<BYTE>& bytes) {
  return Tallied([&](std::vector<std::string>& messages, auto&& read) {
    return ReadSection(name, bytes, messages, read);
  });
}

SectionTally TallySectionFile(const std::string& path) {
  return Tallied(
      [&](std::vector<std::string>& messages, auto&& read) { return ReadSectionFile(path, messages, read); });
}

void KeepUntilExit(std::unique_ptr<HostDrawing> drawing) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  drawing.reset();
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
  drawing.reset();
#else
  (void)drawing.release();
#endif
#else
  (void)drawing.release();
#endif
}
