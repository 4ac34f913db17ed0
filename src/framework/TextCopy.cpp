#include "framework/TextCopy.h"

#include <cstring>
#include <new>

char* CopyText(const char* text) {
  if (text == nullptr) return nullptr;
  const size_t size = std::strlen(text) + 1;
  char* copy = new (std::nothrow) char[size];
  if (copy != nullptr) std::memcpy(copy, text, size);
  return copy;
}
