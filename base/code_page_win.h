// The ANSI code page of this Windows, for files written before the program went UTF-8.
#pragma once
#include "base/code_page.h"

CodePage SystemCodePage();
