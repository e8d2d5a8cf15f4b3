#pragma once

// The path of a file the user chose, as the file calls take it: the name in
// the file system's own encoding on POSIX systems (as QFile names it), UTF-16
// as typed on Windows, never through its narrow code page, which holds few of
// the characters a name may have.

#include <QString>

#include <filesystem>

namespace personlist {

std::filesystem::path localPath(const QString& path);

}  // namespace personlist
