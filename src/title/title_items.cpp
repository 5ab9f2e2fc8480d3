#include "title/title_items.h"

#include <cstring>

#include "model/japanese_texts.h"

const SxfTitleItem kSxfTitleItems[kSxfTitleItemCount] = {
    {SXF_TTL_PROJECT_NAME, kJpTitleProjectName, 1, &SxfTitleInfo::projectName},
    {SXF_TTL_CONSTRUCTION_NAME, kJpTitleConstructionName, 1, &SxfTitleInfo::constructionName},
    {SXF_TTL_CONTRACT_CLASS, kJpTitleContractClass, 1, &SxfTitleInfo::contractClass},
    {SXF_TTL_DRAWING_NAME, kJpTitleDrawingName, 1, &SxfTitleInfo::drawingName},
    {SXF_TTL_DRAWING_NUMBER, kJpTitleDrawingNumber, 0, nullptr},
    {SXF_TTL_DRAWING_TOTAL, kJpTitleDrawingTotal, 0, nullptr},
    {SXF_TTL_DRAWING_TYPE, kJpTitleDrawingType, 1, &SxfTitleInfo::drawingType},
    {SXF_TTL_SCALE, kJpTitleScale, 0, &SxfTitleInfo::scale},
    {SXF_TTL_DATE, kJpTitleDate, 1, nullptr},
    {SXF_TTL_COMPANY_NAME, kJpTitleCompanyName, 1, &SxfTitleInfo::companyName},
    {SXF_TTL_OFFICE_NAME, kJpTitleOfficeName, 1, &SxfTitleInfo::officeName},
};

int TitleItemIndex(SXF_TTL_ID id) {
  for (int i = 0; i < kSxfTitleItemCount; ++i) {
    if (kSxfTitleItems[i].id == id) return i;
  }
  return -1;
}

const SxfTitleItem* FindTitleItem(SXF_TTL_ID id) {
  const int index = TitleItemIndex(id);
  return index < 0 ? nullptr : &kSxfTitleItems[index];
}

SXF_TTL_ID TitleItemOfName(const char* name) {
  // A plain byte prefix: the item names are fixed Shift-JIS texts, and a line number or any other
  // suffix may follow them (the second line of the drawing name is named "...2").
  for (const SxfTitleItem& item : kSxfTitleItems) {
    if (std::strncmp(name, item.name, std::strlen(item.name)) == 0) return item.id;
  }
  return static_cast<SXF_TTL_ID>(0);
}
