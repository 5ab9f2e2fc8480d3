#include "host/zcdb_elm.h"
#include "host/zgelm.h"
#include "title/title_strings.h"

CString SXF_GetTitleText(ZCdbRecBase* rec) {
  BYTE kind = rec->GetRecKind();
  if (kind != 8 && kind != 9) return CString();
  // Kinds 8 and 9 are the host's element records; only string figures show a title text.
  ZGElm* element = static_cast<ZCdbElm*>(rec)->GetZGElm();
  if (element == nullptr || element->GetElmType() != 10) return CString();
  return static_cast<ZString*>(element)->GetCString();
}
