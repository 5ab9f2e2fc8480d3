#include "persist/section_scan.h"

#include <cstring>

#include "attrdb/attrdb.h"
#include "persist/section_walk.h"

namespace {

class Scanner : public SectionVisitor, public SectionReporter {
 public:
  Scanner(SxfZCdbAttrDB& scratch, SectionScan& scan) : scratch_(scratch), scan_(scan) {}

  // Everything is read as the readers read it, the title too (into scratch).
  SxfTitleInfo* TitleTarget() override { return &title_; }
  bool WantsSetDefs() const override { return true; }
  void SetDef(uint64_t offset, const SxfZCdbAttrSetDef& def) override {
    scan_.setDefs.push_back({offset, def.id, scratch_.AddAttrSetDefData(def) != nullptr});
  }
  void Entry(uint64_t offset, DWORD handle, std::unique_ptr<SxfZCdbFigure> figure) override {
    scan_.figures.push_back({offset, handle, figure != nullptr});
  }
  void Damage(uint64_t offset, const std::string& what) override {
    scan_.failOffset = offset;
    scan_.failWhat = what;
  }

 private:
  SxfZCdbAttrDB& scratch_;
  SectionScan& scan_;
  SxfTitleInfo title_;
};

}  // namespace

std::string SectionVersionProblem(const BYTE* data, size_t size, DWORD& version) {
  if (size < sizeof(DWORD)) {
    return "the file is too short for a section (" + std::to_string(size) +
           " bytes; the section version alone takes " + std::to_string(sizeof(DWORD)) + ")";
  }
  std::memcpy(&version, data, sizeof(DWORD));
  return LayoutOfVersion(version) == SectionLayout::kRefused ? RefusedVersionPhrase(version) : "";
}

SectionScan ScanSection(const BYTE* data, size_t size, SxfZCdbAttrDB& scratch) {
  SectionScan scan;
  scan.failWhat = SectionVersionProblem(data, size, scan.version);
  if (!scan.failWhat.empty()) return scan;
  // Nothing renames the scratch registry's definitions during the walk.
  SxfZCdbAttrDB::SetDefIndexScope byName(scratch);
  CMemFile file(const_cast<BYTE*>(data), static_cast<UINT>(size));
  Scanner scanner(scratch, scan);
  scan.ok = WalkSection(&file, &scratch, scanner, &scanner) != 0;
  return scan;
}
