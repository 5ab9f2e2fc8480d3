// The reader entries: how one input is handed to one reader of the plug-in, and what may come
// out of it. The fuzz targets and the replay and damage tests under tests/regressions run the
// very same entries, so a checked-in input replays exactly what the fuzzer ran.
//
// An entry reads its input with its reader and reports a ReadResult: the reader's documented
// outcome, and a problem text when the reader broke a promise it makes about its own output (a
// record that read does not write back to bytes that read the same, a failed read that changed
// what it must leave alone, an exception no reader raises). The fuzz targets abort on a problem;
// the tests report it. Each entry says at its definition which promises it checks.
//
// Targets that cover several readers take the first input byte as the selector of the reader
// (see the entry); the rest is the record or section as a file stores it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

enum class ReadOutcome {
  kRead,       // the reader returned 1 (or a new object)
  kRejected,   // the reader returned 0 (or null)
  kEndOfFile,  // the archive raised CArchiveException(endOfFile) to the caller
  kBadSchema,  // the archive raised CArchiveException(badSchema): a wide-character string length
};

// "read", "rejected", "eof" or "badschema": the names the checked-in inputs carry.
const char* OutcomeName(ReadOutcome outcome);

struct ReadResult {
  ReadOutcome outcome = ReadOutcome::kRejected;
  std::string problem;  // empty when every promise held
};

using ReaderEntry = ReadResult (*)(const uint8_t* data, size_t size);

// Figure records: the old one through ZCdbAttrFigureReadVer3, the new one through NewRead.
ReadResult ReadOldFigure(const uint8_t* data, size_t size);
ReadResult ReadNewFigure(const uint8_t* data, size_t size);
// Attribute-file, group, set reference, set definition and value records, old and new format;
// the first byte picks the record.
ReadResult ReadOldAtrfGroup(const uint8_t* data, size_t size);
ReadResult ReadNewAtrfGroup(const uint8_t* data, size_t size);
// Target definitions, old or new format, into a fresh or a filled definition (first byte).
ReadResult ReadTargetDef(const uint8_t* data, size_t size);
// Drawing sections of the tagged and the old layout (first byte: read mode), and the copy-buffer
// section (first byte: tagged or old form).
ReadResult ReadNewSection(const uint8_t* data, size_t size);
ReadResult ReadOldSection(const uint8_t* data, size_t size);
ReadResult ReadCopyBuffer(const uint8_t* data, size_t size);
// The recovery of a damaged drawing section of either layout (the tool's recover command).
ReadResult RecoverSection(const uint8_t* data, size_t size);
