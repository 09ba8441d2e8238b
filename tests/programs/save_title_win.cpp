// save_title <file> <title>: reads the file's tags, sets the title, and saves it as the editor's
// Save does; exit code 0 when saved. Lets a reader of its own check what a title-only save kept.
#include "tags/tag_bridge.h"

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  TagInfo record;
  if (!ReadTags(argv[1], &record)) return 3;
  record.title = argv[2];
  return WriteTags(argv[1], &record) ? 0 : 1;
}
