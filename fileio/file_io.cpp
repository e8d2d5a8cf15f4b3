#include "fileio/file_io.h"

namespace fileio {

std::optional<FileError> replaceFile(const SaveTarget& target, std::string_view bytes, SaveWatch& watch)
{
    SystemCalls system;
    WatchedCalls watched(system, watch);
    return replaceFile(target, bytes, static_cast<SystemCalls&>(watched));
}

std::optional<FileError> replaceFile(const SaveTarget& target, std::string_view bytes)
{
    SystemCalls system;
    return replaceFile(target, bytes, system);
}

}  // namespace fileio
