// Opening a file through TagLib by its wide name.
#pragma once
#include <taglib/tag_c.h>

// What taglib_file_new gives, for the name as Windows spells it: taglib_file_new's own char*
// name goes through the ANSI code page, which holds few of the world's names.
TagLib_File* OpenTagLibFile(const wchar_t* name);
