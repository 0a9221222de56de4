#include "slopecalc/path_rules.h"

namespace slopecalc {

const char* const FolderSeparators = "/";
const char DataFolderSeparator = '/';

} // namespace slopecalc
