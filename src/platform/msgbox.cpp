#include "platform/msgbox.h"

#include <cstdio>

namespace {

int DefaultHandler(const char* text, UINT, UINT) {
  std::fprintf(stderr, "%s\n", text ? text : "");
  return IDOK;
}

AfxMessageBoxHandler g_handler = nullptr;

}  // namespace

int AfxMessageBox(const char* text, UINT type, UINT helpId) {
  return (g_handler ? g_handler : DefaultHandler)(text, type, helpId);
}

AfxMessageBoxHandler SetAfxMessageBoxHandler(AfxMessageBoxHandler handler) {
  AfxMessageBoxHandler previous = g_handler;
  g_handler = handler;
  return previous;
}
