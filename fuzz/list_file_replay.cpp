// Runs the fuzzer's checks over every file in the folders named on the command
// line (the seed corpus and the inputs that once broke the reader), so that any
// build, with any compiler, keeps them all passing. Files whose names begin with
// a dot are skipped. Fails when a folder is missing or holds no file at all.

#include "fuzz/list_file_checks.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::string readBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::filesystem::path> filesIn(const std::filesystem::path& folder)
{
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.is_regular_file() && !entry.path().filename().string().starts_with('.')) {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER...\n", argv[0]);
        return 2;
    }
    int checked = 0;
    int failed = 0;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path folder = argv[i];
        if (!std::filesystem::is_directory(folder)) {
            std::fprintf(stderr, "%s: no such folder\n", argv[i]);
            return 2;
        }
        for (const std::filesystem::path& file : filesIn(folder)) {
            const std::string bytes = readBytes(file);
            auto fault = fuzz::listFileFault(bytes);
            if (!fault) {
                fault = fuzz::openedFileFault(file, bytes);
            }
            ++checked;
            if (fault) {
                ++failed;
                std::printf("FAIL %s: %s\n", file.c_str(), fault->c_str());
            }
        }
    }
    if (checked == 0) {
        std::fprintf(stderr, "no files to check\n");
        return 2;
    }
    std::printf("%d of %d list files read as they should\n", checked - failed, checked);
    return failed == 0 ? 0 : 1;
}
