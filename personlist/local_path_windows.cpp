#include "personlist/local_path.h"

namespace personlist {

std::filesystem::path localPath(const QString& path) { return path.toStdWString(); }

}  // namespace personlist
