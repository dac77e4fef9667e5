#pragma once
// The system ANSI code page. It is 936 (simplified Chinese, GBK) unless a
// caller sets another: tests set 437 to reach code pages the program's
// tables do not list.

int GetSystemCodePage();
void SetSystemCodePage(int codePage);
