// Writing a drawing's stored figures as a new-layout section with the plug-in's own writer.
//
// The plug-in's writer collects the figures by walking the host's record tree, so the drawing
// first gets one plain stand-in record (ZCdbTbl) per stored handle, added in ascending handle
// order under the drawing with the handle the figure is stored under: the section then lists the
// figures in ascending handle order. Plain records are neither string, contour nor image
// elements, so saving changes no figure.
//
// The figures are not bound to the stand-in records (AfterReadTmp is not called): the writer
// first refreshes the title info from the drawing's title elements, and a title stub bound to a
// record without text would make its item read as empty and get renamed. Left unbound, the title
// info is saved as stored, apart from what saving always does to it (a date outside the accepted
// range becomes no date; the drawing number is rebuilt from its number and total). Binding would
// change nothing else that is written.
#pragma once

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "section_loader.h"

struct WrittenSection {
  const BYTE* Data() const { return bytes.get(); }
  size_t Size() const { return size; }

  std::unique_ptr<BYTE, void (*)(void*)> bytes{nullptr, std::free};  // the memory the writer wrote into
  size_t size = 0;
  size_t figures = 0;  // the stored figures, written or left out
  size_t leftOut = 0;  // figures stored under handle 0xFFFFFFFF, which no record can have
};

// drawing must hold no records yet. name is how messages name the output. Throws
// ToolError(kExitInput) when the plug-in's writer fails.
WrittenSection WriteStoredFigures(HostDrawing& drawing, const std::string& name);
