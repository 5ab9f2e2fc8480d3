// SXF_TTL_ID: the eleven items of a drawing's title block, one bit each.
//
// The value 0 stands for "no title item". The enumeration has a fixed 32-bit underlying type, so
// any 32-bit value (a combination of bits, or a value from outside the table) can be held and
// passed around; the title functions answer such values with their neutral result.
#pragma once

#include <cstdint>

enum SXF_TTL_ID : int32_t {
  SXF_TTL_PROJECT_NAME = 0x001,
  SXF_TTL_CONSTRUCTION_NAME = 0x002,
  SXF_TTL_CONTRACT_CLASS = 0x004,
  SXF_TTL_DRAWING_NAME = 0x008,
  SXF_TTL_DRAWING_NUMBER = 0x010,
  SXF_TTL_DRAWING_TOTAL = 0x020,
  SXF_TTL_DRAWING_TYPE = 0x040,
  SXF_TTL_SCALE = 0x080,
  SXF_TTL_DATE = 0x100,
  SXF_TTL_COMPANY_NAME = 0x200,
  SXF_TTL_OFFICE_NAME = 0x400,
};
