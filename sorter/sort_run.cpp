#include "sorter/sort_run.h"

#include "app/position.h"
#include "sorter/target_path.h"

void SortRun(const TextTable& texts, const SortRunSteps& steps) {
  STEP(Sorter);
  const bool move = steps.ask(texts[kTextQuestion], texts[kTextDeleteOriginals]);
  const std::string pattern = steps.pattern();
  for (size_t i = 0; i < steps.rowCount(); ++i) {
    STEP(Sorter);
    const std::string source = steps.row(i);
    TagInfo tags;
    if (steps.read(source, tags)) {
      STEP(Sorter);
      const std::string target = BuildTargetPath(pattern, source, tags);
      steps.createFolders(FolderPart(target));
      STEP(Sorter);
      (move ? steps.move : steps.copy)(source, target);
    } else {
      STEP(Sorter);
      if (!steps.ask(texts[kTextError],
                     texts[kTextCouldNotRead] + "\r\n" + source + "\r\n" + texts[kTextContinue]))
        return;
    }
    steps.betweenFiles();
  }
}
