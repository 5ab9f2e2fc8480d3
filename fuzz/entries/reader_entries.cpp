#include "entries/reader_entries.h"

const char* OutcomeName(ReadOutcome outcome) {
  switch (outcome) {
    case ReadOutcome::kRead:
      return "read";
    case ReadOutcome::kRejected:
      return "rejected";
    case ReadOutcome::kEndOfFile:
      return "eof";
    case ReadOutcome::kBadSchema:
      return "badschema";
  }
  return "?";
}
