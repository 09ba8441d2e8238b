#include "sorter/sorter_window.h"

#include "app/position.h"

// The sorter window is not built yet.
void RunSorter(const TextTable&, const std::vector<std::string>&) { STEP(Sorter); }
