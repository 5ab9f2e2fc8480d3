#include "host/zcdb_elm.h"
#include "host/zcdb_rec.h"
#include "host/zgelm.h"
#include "title/title_strings.h"

CString SXF_GetTitleText(ZCdbRecBase* rec) {
  BYTE kind = rec->GetRecKind();
  // Only the host's element records can show text, and of them only string figures a title.
  if (kind != ZCDB_KIND_ELM && kind != ZCDB_KIND_ELM2) return CString();
  ZGElm* element = static_cast<ZCdbElm*>(rec)->GetZGElm();
  if (element == nullptr || element->GetElmType() != ZGELM_STRING) return CString();
  return static_cast<ZString*>(element)->GetCString();
}
