#include "section_writer.h"

#include "progress.h"
#include "tool_error.h"

WrittenSection WriteStoredFigures(HostDrawing& drawing, const std::string& name) {
  WrittenSection written;
  const std::vector<FigureRef> figures = StoredFigures(drawing.Attr());
  written.figures = figures.size();
  for (const FigureRef& ref : figures) {
    if (ref.handle == ZCDB_NO_HANDLE) {
      ++written.leftOut;
      continue;
    }
    ZCdbTbl* rec = new ZCdbTbl;
    if (drawing.Db().LoadRecord(rec, ref.handle) == 0) {
      delete rec;
      throw ToolError(kExitInput,
                      name + ": the host refused a record for handle " + std::to_string(ref.handle));
    }
  }

  Progress progress("writing " + name, 0, "bytes", figures.size() > kProgressFigures);
  ProgressWriteFile file(progress);
  int ok = 0;
  try {
    ok = drawing.Attr().Write(0, &file, &drawing.Db());
  } catch (CException&) {
    ok = 0;
  }
  if (!ok) throw ToolError(kExitInput, name + ": the plug-in could not write the section");
  // The bytes stay where the writer put them.
  written.size = static_cast<size_t>(file.GetLength());
  written.bytes.reset(file.Detach());
  return written;
}
