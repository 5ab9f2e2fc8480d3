// Attaches an attribute set to a record of a drawing, reads it back and saves the drawing's
// attribute section: what a host application does with the plug-in.
#include <cstdio>

#include "host/host.h"
#include "sxfattr.h"

int main(int argc, char** argv) {
  const char* out = argc > 1 ? argv[1] : "consumer.sxa";
  CEnvironObj env(".");
  ZCdb drawing;
  SxfZCdbAttrDB* sxf = static_cast<SxfZCdbAttrDB*>(drawing.CreateAttrDB(ZCdbAttrDBEntry, &env));

  ZCdbRecBase* rec = new ZCdbTbl;
  drawing.AddRecord(rec);

  // One attribute set, "Road", with one value.
  SxfZCdbAttrSetDef* def = sxf->AddAttrSetDefData("Road", "1.0", "Survey", 1);
  SxfZCdbFigure fig;
  fig.SetAttrType(SXF_ATTR_ATRF);
  SxfZCdbAttrSetRef* ref = fig.ATRF_GetAttr()->AddAttrSetRefData(def->id, 1);
  SxfZCdbATRU width;
  width.name = "width";
  width.type = "LEN";
  width.unit = "m";
  width.value = "5.5";
  ref->AddAttrData(width);
  if (SXF_SetRecFigure(rec, fig) != rec->GetHandle()) return 1;

  SxfZCdbFigure back;
  if (!SXF_GetRecFigure(rec, back)) return 1;
  const SxfZCdbATRU* got = back.FindAttrData("width");
  std::printf("record %u: width = %s\n", static_cast<unsigned>(rec->GetHandle()),
              got ? got->value.GetString() : "?");

  try {
    CFile file(out, CFile::modeCreate | CFile::modeWrite);
    if (!sxf->Write(0, &file, &drawing)) return 1;
    file.Close();
  } catch (const CException&) {
    std::fprintf(stderr, "cannot write %s\n", out);
    return 1;
  }
  std::printf("saved the attribute section to %s\n", out);
  return 0;
}
