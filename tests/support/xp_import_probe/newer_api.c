/* A program that imports what Windows XP lacks: a Vista function of kernel32 and a secure CRT
   function of msvcrt. The import check must reject it (test xp_imports_rejects_newer_api). */
#define _WIN32_WINNT 0x0600
#include <stdio.h>
#include <wchar.h>
#include <windows.h>

int main(void) {
  wchar_t text[8];
  wcscpy_s(text, 8, L"x");
  printf("%lu %ls\n", (unsigned long)GetTickCount64(), text);
  return 0;
}
