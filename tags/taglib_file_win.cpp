#include "tags/taglib_file_win.h"

#include <taglib/fileref.h>

// The binding's taglib_file_new does the same with a char* name; its handle is the File itself,
// which taglib_file_free deletes.
TagLib_File* OpenTagLibFile(const wchar_t* name) {
  return reinterpret_cast<TagLib_File*>(TagLib::FileRef::create(TagLib::FileName(name)));
}
