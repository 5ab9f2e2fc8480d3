// Version bytes of the old record format and tag numbers of the new one.
//
// These numbers are written to disk and never change. Readers and writers of both formats
// include this one header, so a record's writer and its reader cannot disagree about them.
#pragma once

#include "platform/types.h"

// ---- Old format: the version byte a writer puts first. Readers take every version from 0 up to
// the written one unless noted.

inline constexpr BYTE kAtrsRecordVersion = 4;
inline constexpr BYTE kAtruRecordVersion = 4;
// ATRU versions: 1 is the legacy typed form; 0, 2 and 3 have no figure name; 4 adds it.
inline constexpr BYTE kAtruLegacyVersion = 1;
inline constexpr BYTE kAtruFirstVersionWithZukeiName = 4;
// Legacy typed ATRU (version 1): a form byte says how the value is held.
inline constexpr BYTE kAtruLegacyFormNumber = 1;  // a type code and a raw number follow
inline constexpr BYTE kAtruLegacyFormText = 2;    // a file string follows
// Legacy type codes of form 1.
inline constexpr BYTE kAtruLegacyByte = 0;    // unsigned 8-bit
inline constexpr BYTE kAtruLegacyChar = 1;    // signed 8-bit
inline constexpr BYTE kAtruLegacyWord = 2;    // unsigned 16-bit
inline constexpr BYTE kAtruLegacyShort = 3;   // signed 16-bit
inline constexpr BYTE kAtruLegacyDword = 4;   // unsigned 32-bit
inline constexpr BYTE kAtruLegacyLong = 5;    // signed 32-bit
inline constexpr BYTE kAtruLegacyDouble = 6;  // IEEE double, put into text with 8 decimals
inline constexpr int kAtruLegacyDoubleDigits = 8;

inline constexpr BYTE kGroupRecordVersion = 2;
// Group versions 0 and 1 end after the attributes; 2 adds the sub-groups.
inline constexpr BYTE kGroupFirstVersionWithSubGroups = 2;

inline constexpr BYTE kSetDefRecordVersion = 1;

inline constexpr BYTE kAtrfRecordVersion = 4;
// ATRF versions 0 to 2 hold attribute set records; 3 and 4 hold group records.
inline constexpr BYTE kAtrfFirstVersionWithGroups = 3;

// The attribute set record of the oldest files is only read: versions 0 to 2.
inline constexpr BYTE kAttrSetRecordMaxVersion = 2;
// Version 1 lists its sub-groups first and merges a trailing group; 0 and 2 hold one group.
inline constexpr BYTE kAttrSetRecordSplitVersion = 1;

inline constexpr BYTE kFigureRecordVersion = 2;
inline constexpr BYTE kFigureVersionWithTargets = 1;  // version 1 carries target definitions

inline constexpr BYTE kTargetRecordVersion = 1;

// ---- New format: tagged records. A record is a list of {int32 tag, archive block}, ended by
// the int32 0. Tag 1 is the block of plain fields in every record.

inline constexpr LONG kTagEnd = 0;
inline constexpr LONG kTagFields = 1;

// ATRU record: tag 1 {kind, value, zukeiName}; tag 100 the nested ATRS record.
inline constexpr LONG kTagAtruDefinition = 100;

// Group record: tag 1 {name}; tag 100 per attribute; tag 101 per sub-group.
inline constexpr LONG kTagGroupAttr = 100;
inline constexpr LONG kTagGroupSubGroup = 101;

// ATRF record: tag 100 per set reference.
inline constexpr LONG kTagAtrfSetRef = 100;

// Figure record: tag 1 {name, type}; the attribute object by its class; contour and image.
inline constexpr LONG kTagFigureAtrf = 100;
inline constexpr LONG kTagFigureAtru = 101;
inline constexpr LONG kTagFigureAtrs = 102;
inline constexpr LONG kTagFigureContour = 103;
inline constexpr LONG kTagFigureImage = 104;

// Target definition record: tag 1 {name, version, designer}; tag 100 per entry.
inline constexpr LONG kTagTargetEntry = 100;
