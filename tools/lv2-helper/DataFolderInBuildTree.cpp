// Linked into the framework's LV2 manifest helper, which loads the built
// plug-in and creates an instance to describe it: that instance keeps its
// data folder inside the build tree instead of the user's folders.
#include <cstdlib>

namespace
{
struct DataFolderInBuildTree
{
    DataFolderInBuildTree() { setenv ("PALIMPSESTER_DATA_ROOT", PALIMPSESTER_HELPER_DATA_ROOT, 1); }
} dataFolderInBuildTree;
} // namespace
