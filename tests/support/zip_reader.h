// Reads the entries of a zip archive held in memory, enough to look into a workbook: the central
// directory gives each entry's name, method, sizes and local header; stored and deflated entries
// are read.
#pragma once

#include <map>
#include <string>

// Fills entries (name -> content) and returns "" on success, else what was wrong.
std::string ReadZip(const std::string& zip, std::map<std::string, std::string>& entries);
