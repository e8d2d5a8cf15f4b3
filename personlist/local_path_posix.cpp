#include "personlist/local_path.h"

#include <QFile>

namespace personlist {

std::filesystem::path localPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace personlist
