// save_field <file> title|comment <text>: reads the file's tags, sets the title or the comment,
// and saves it as the editor's Save does; exit code 0 when saved. Lets a reader of its own check
// what a one-field save kept.
#include <cstring>

#include "tags/tag_bridge.h"

int main(int argc, char** argv) {
  if (argc != 4) return 2;
  TagInfo record;
  if (!ReadTags(argv[1], &record)) return 3;
  (std::strcmp(argv[2], "title") == 0 ? record.title : record.comment) = argv[3];
  return WriteTags(argv[1], &record) ? 0 : 1;
}
