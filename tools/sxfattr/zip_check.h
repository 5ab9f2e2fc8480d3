// Checking that a written file is a whole zip archive, reading every entry back.
//
// A library that writes a workbook may miss a short write of its own and report success over a
// file that is cut off. ReadZipFile catches that before the file is used: the end record must be
// the last bytes of the file, the central directory must end right before it, every entry's
// local header must agree with the directory and its data must lie within the file, before the
// directory and clear of the next entry; stored and deflated data must give exactly the size
// and CRC-32 the directory states. Each entry's content is handed to a visitor in pieces as it is
// read, so an archive of any size is checked in constant memory. Archives in the 64-bit format
// (over 4 GiB, or over 65535 entries) are refused.
#pragma once

#include <cstddef>
#include <string>

class ZipEntryVisitor {
 public:
  virtual ~ZipEntryVisitor() = default;
  virtual void BeginEntry(const std::string& name) = 0;
  virtual void EntryData(const char* data, size_t size) = 0;
  // Called once the entry's content is complete and matches its size and CRC.
  virtual void EndEntry() = 0;
};

// Reads the zip archive at path, handing each entry to visitor (null: none) in directory order.
// Returns "" when the archive is whole, else what is wrong ("no end record", "entry
// xl/worksheets/sheet3.xml: data beyond the end", ...). A visitor's exceptions go through.
std::string ReadZipFile(const std::string& path, ZipEntryVisitor* visitor);
