// Lists too large for the memory the program may use. Each case runs in a
// forked child under RLIMIT_AS, so that an allocation fails there as it would on
// a full machine, and reports what it saw through its exit status.
//
// Skipped under AddressSanitizer: its allocator reserves its address space up
// front and reports an allocation it cannot serve as a fatal error instead of
// throwing std::bad_alloc, so there is no failure left to handle.

#include "personlist/list_file.h"
#include "personlist/person_list.h"

#include "test_files.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

#if defined(__SANITIZE_ADDRESS__)
#define KYUSEI_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KYUSEI_ASAN 1
#endif
#endif

namespace personlist {
namespace {

using testing::ScratchDir;

// What a child reports.
enum Outcome : int { OutOfMemory = 10, OtherError, Opened, ListKept, ListChanged, Threw };

// Limits the child's address space to what it uses now plus `headroom` bytes.
void limitMemory(std::size_t headroom)
{
    std::ifstream statm("/proc/self/statm");
    std::size_t pages = 0;
    statm >> pages;
    const auto used = static_cast<rlim_t>(pages) * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE));
    const rlimit limit{used + headroom, used + headroom};
    ::setrlimit(RLIMIT_AS, &limit);
}

template <typename F>
int inChild(F&& body)
{
    const pid_t child = ::fork();
    if (child == 0) {
        // Nothing may leave the child, or it would go on running the other tests.
        int outcome = Threw;
        try {
            outcome = body();
        } catch (...) {
        }
        ::_exit(outcome);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status)) << "the child ended by signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int outcomeOf(const ListFileContents& contents)
{
    if (!contents.error) {
        return Opened;
    }
    return contents.error->kind == FileError::Kind::OutOfMemory && contents.persons.empty() ? OutOfMemory
                                                                                                : OtherError;
}

// A complete list of `persons` persons as far as its length and count record
// go: a sparse file, so it costs no disk, with every record after the count
// all zero bytes.
std::filesystem::path hugeList(const ScratchDir& dir, std::uint64_t persons)
{
    const auto path = dir / "huge.orx";
    std::ofstream(path, std::ios::binary) << testing::paddedField(std::to_string(persons + 1));
    std::filesystem::resize_file(path, RecordSize * (1 + RecordsPerPerson * persons));
    return path;
}

// 20 million persons: a 3.2 GB file, 2.6 GB of persons before their texts.
constexpr std::uint64_t HugeCount = 20'000'000;
constexpr std::size_t Headroom = 256 << 20;

class MemoryLimitOnLinux : public ::testing::Test {
protected:
    void SetUp() override
    {
#ifdef KYUSEI_ASAN
        GTEST_SKIP() << "AddressSanitizer does not let an allocation fail";
#endif
    }
};

TEST_F(MemoryLimitOnLinux, OpeningAListTooLargeForMemoryFailsAndTheProgramGoesOn)
{
    ScratchDir dir;
    const auto path = hugeList(dir, HugeCount);
    EXPECT_EQ(inChild([&] {
                  limitMemory(Headroom);
                  return outcomeOf(readListFile(path));
              }),
              OutOfMemory);
}

// The bytes already in memory (here mapped from the file), the persons not.
TEST_F(MemoryLimitOnLinux, ReadingPersonsThatDoNotFitInMemoryFails)
{
    ScratchDir dir;
    const auto path = hugeList(dir, HugeCount);
    EXPECT_EQ(inChild([&] {
                  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
                  const auto size = static_cast<std::size_t>(std::filesystem::file_size(path));
                  void* bytes = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
                  if (bytes == MAP_FAILED) {
                      return OtherError;
                  }
                  limitMemory(Headroom);
                  return static_cast<Outcome>(
                      outcomeOf(parseListFile(std::string_view(static_cast<const char*>(bytes), size))));
              }),
              OutOfMemory);
}

TEST_F(MemoryLimitOnLinux, SavingAListWhoseBytesDoNotFitFailsAndLeavesTheOldFile)
{
    ScratchDir dir;
    const auto path = dir / "list.orx";
    const std::string old = listFileBytes({{"山田", "1960", "3", "12"}});
    testing::writeBytes(path, old);
    // 2 million persons with one-character texts: 256 MB in memory, 320 MB of
    // file bytes.
    EXPECT_EQ(inChild([&] {
                  const std::vector<Person> persons(2'000'000, Person{"a", "1", "2", "3"});
                  limitMemory(Headroom);
                  const std::optional<FileError> error = writeListFile(path, persons);
                  return error == FileError{FileError::Kind::OutOfMemory} ? OutOfMemory : OtherError;
              }),
              OutOfMemory);
    EXPECT_EQ(testing::readBytes(path), old);
}

// The list must not become the new persons without the ordering units beside
// them, which registering the next person reads.
TEST_F(MemoryLimitOnLinux, ReplacingTheListWithOneTooLargeForMemoryKeepsTheOldList)
{
    EXPECT_EQ(inChild([] {
                  const std::vector<Person> old = {{"山田", "1960", "3", "12"}, {"佐藤", "1970", "1", "1"}};
                  PersonList list(old);
                  // 128 MB of persons, whose 4 MB of units find no room.
                  std::vector<Person> persons(1'000'000);
                  limitMemory(64 << 10);
                  try {
                      list.replaceAll(std::move(persons));
                  } catch (const std::bad_alloc&) {
                      return list.persons() == old && list.placeFor("山本") == 2 ? ListKept : ListChanged;
                  }
                  return Opened;
              }),
              ListKept);
}

}  // namespace
}  // namespace personlist
