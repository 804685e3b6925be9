// The few POSIX calls the core tests use for scratch folders, for the Windows build of
// the tests (included before every test file there). Not part of the program.
#pragma once
#ifdef _WIN32
#include <direct.h>
#include <process.h>
#include <stdlib.h>
#include <string.h>

#ifdef __cplusplus
#include <random>

// Replaces the trailing "XXXXXX" of tmpl by letters and digits and makes that folder.
inline char* mkdtemp(char* tmpl) {
  static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  const size_t n = strlen(tmpl);
  if (n < 6 || strcmp(tmpl + n - 6, "XXXXXX") != 0) return nullptr;
  static std::mt19937 gen{std::random_device{}() ^ static_cast<unsigned>(_getpid())};
  std::uniform_int_distribution<int> pick(0, static_cast<int>(sizeof kLetters) - 2);
  for (int attempt = 0; attempt < 100; ++attempt) {
    for (size_t i = n - 6; i < n; ++i) tmpl[i] = kLetters[pick(gen)];
    if (_mkdir(tmpl) == 0) return tmpl;
  }
  return nullptr;
}
#endif
#endif
