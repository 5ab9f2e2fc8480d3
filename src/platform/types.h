// Fixed-width integer names of the Windows interface the plug-in was written against.
//
// The interface was written for 32-bit Windows: BYTE, WORD and DWORD are 8, 16 and 32 bits, and
// where it says long it means 32 bits, so LONG and ULONG are 32-bit on every platform.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/visibility.h"

typedef uint8_t BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef uint32_t ULONG;
typedef unsigned int UINT;
typedef int BOOL;
typedef char TCHAR;
typedef const char* LPCSTR;
typedef const char* LPCTSTR;
typedef char* LPSTR;
typedef int64_t LONGLONG;
typedef uint64_t ULONGLONG;
typedef uintptr_t DWORD_PTR;
typedef intptr_t INT_PTR;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

// An opaque iterator of the collection classes, as in MFC.
struct __POSITION {};
typedef __POSITION* POSITION;
