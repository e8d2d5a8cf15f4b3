// List files of 100,000 persons: opening, saving, and registering one more
// person into a list that size. For scale, the same run converts the same file
// with glibc's iconv, in process and with the iconv command.

#include "bench/generated_persons.h"
#include "personlist/list_file.h"
#include "personlist/person_list.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <iconv.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>

extern char** environ;

namespace {

constexpr int ListSize = 100'000;

std::vector<personlist::Person> generatedPersons() { return bench::generatedPersons(ListSize); }

const std::filesystem::path& benchDirectory()
{
    static const std::filesystem::path dir = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "kyusei-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        std::atexit([] { std::filesystem::remove_all(benchDirectory()); });
        return std::filesystem::path(pattern);
    }();
    return dir;
}

const std::filesystem::path& savedList()
{
    static const std::filesystem::path path = [] {
        const auto p = benchDirectory() / "100000.orx";
        if (personlist::writeListFile(p, generatedPersons())) {
            std::abort();
        }
        return p;
    }();
    return path;
}

void openList(benchmark::State& state)
{
    const auto& path = savedList();
    for (auto _ : state) {
        const personlist::ListFileContents opened = personlist::readListFile(path);
        if (opened.error || opened.persons.size() != ListSize) {
            state.SkipWithError("the list did not open");
            break;
        }
        benchmark::DoNotOptimize(opened.persons.data());
    }
}
BENCHMARK(openList)->Unit(benchmark::kMillisecond);

// The file read and converted by glibc's iconv in one call, in process, as a
// lower bound for what opening has to do.
void iconvInProcess(benchmark::State& state)
{
    const auto& path = savedList();
    std::string output;
    for (auto _ : state) {
        std::ifstream in(path, std::ios::binary);
        std::string bytes(std::filesystem::file_size(path), '\0');
        in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        output.resize(bytes.size() * 3);
        iconv_t cd = iconv_open("UTF-8", "CP932");
        char* inPtr = bytes.data();
        std::size_t inLeft = bytes.size();
        char* outPtr = output.data();
        std::size_t outLeft = output.size();
        const std::size_t result = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        iconv_close(cd);
        if (result == static_cast<std::size_t>(-1)) {
            state.SkipWithError("iconv stopped");
            break;
        }
        benchmark::DoNotOptimize(output.data());
    }
}
BENCHMARK(iconvInProcess)->Unit(benchmark::kMillisecond);

// `iconv -f CP932 -t UTF-8 file > /dev/null`, the command a user would compare with.
void iconvCommand(benchmark::State& state)
{
    const std::string path = savedList().string();
    for (auto _ : state) {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        char* argv[] = {const_cast<char*>("iconv"), const_cast<char*>("-f"), const_cast<char*>("CP932"),
                        const_cast<char*>("-t"), const_cast<char*>("UTF-8"), const_cast<char*>(path.c_str()),
                        nullptr};
        pid_t child = 0;
        const int spawned = posix_spawnp(&child, "iconv", &actions, nullptr, argv, environ);
        posix_spawn_file_actions_destroy(&actions);
        int status = 0;
        if (spawned != 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("iconv command failed");
            break;
        }
    }
}
BENCHMARK(iconvCommand)->Unit(benchmark::kMillisecond);

void saveList(benchmark::State& state)
{
    const std::vector<personlist::Person> persons = generatedPersons();
    const auto path = benchDirectory() / "saved.orx";
    for (auto _ : state) {
        if (personlist::writeListFile(path, persons)) {
            state.SkipWithError("the list was not saved");
            break;
        }
    }
}
BENCHMARK(saveList)->Unit(benchmark::kMillisecond);

// The look for texts that a save would alter, over a list where none is (the
// list as opening the saved file shows it), so that every text is checked.
void checkBeforeSaving(benchmark::State& state)
{
    const personlist::ListFileContents opened = personlist::readListFile(savedList());
    for (auto _ : state) {
        if (!personlist::personsAlteredBySaving(opened.persons, 5).empty()) {
            state.SkipWithError("a text read back from the file would be altered");
            break;
        }
    }
}
BENCHMARK(checkBeforeSaving)->Unit(benchmark::kMillisecond);

// Registering one person into a list of 100,000, then taking it out again
// untimed. Argument 0: the list in first-character order, the new name going
// to the very top (the most that can move); 1: the list in the generated (file)
// order, the new name going near the bottom.
void registerOneMore(benchmark::State& state)
{
    std::vector<personlist::Person> persons = generatedPersons();
    if (state.range(0) == 0) {
        // What registering them one by one would give, without the 100,000
        // registrations.
        std::stable_sort(persons.begin(), persons.end(), [](const auto& a, const auto& b) {
            return personlist::orderingUnit(a.name) < personlist::orderingUnit(b.name);
        });
    }
    personlist::PersonList list(std::move(persons));
    const personlist::Person newcomer{state.range(0) == 0 ? "Aaron" : "鰻", "1960", "3", "12"};
    for (auto _ : state) {
        const std::size_t at = list.registerPerson(newcomer);
        state.PauseTiming();
        list.removeAt(at);
        state.ResumeTiming();
    }
}
BENCHMARK(registerOneMore)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
