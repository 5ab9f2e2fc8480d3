#include "model/new_format.h"

namespace new_format {

void WriteTag(CArchive& ar, LONG tag) {
  ar << static_cast<int>(tag);
}

void WriteEnd(CArchive& ar) {
  ar << static_cast<int>(kTagEnd);
}

void AbandonSaveBlock(CArchive& ar, CArchive* block) {
  try {
    SaveArchiveBlockEnd(ar, block);
  } catch (...) {
    // The exception that made us abandon the block is the one the caller must see.
  }
}

}  // namespace new_format
