// Writes the seed list files of the list-file fuzzer into a folder, each named
// for the part of the reader it leads into. Run it again after changing a seed:
//   build/fuzz/make_list_corpus fuzz/corpus
// Files that the writer makes are made by the writer itself, so that they stay
// exactly what this program saves.

#include "personlist/list_file.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace {

using personlist::Person;

// A record whose field holds these bytes as they stand, blank-padded, with the
// zero filler that the writer uses.
std::string record(std::string bytes)
{
    bytes.resize(personlist::FieldSize, ' ');
    bytes.resize(personlist::RecordSize, '\0');
    return bytes;
}

std::string records(std::initializer_list<std::string> fields)
{
    std::string out;
    for (const std::string& field : fields) {
        out += record(field);
    }
    return out;
}

const Person Yamada{"山田", "1960", "3", "12"};

std::vector<std::pair<std::string, std::string>> seeds()
{
    const std::string onePerson = personlist::listFileBytes({Yamada});
    const std::string personRecords = onePerson.substr(personlist::RecordSize);
    return {
        {"empty.orx", ""},
        {"empty-list.orx", record("1")},
        {"cut-at-39-bytes.orx", record("1").substr(0, 39)},
        {"one-byte-after-the-count.orx", record("1") + "\x81"},
        {"one-person.orx", onePerson},
        {"three-persons.orx",
         personlist::listFileBytes({Yamada, {"佐藤 花子", "1975", "11", "30"}, {"ABCDEFGHIJKLMNOPQRST", "昭和35", "13", ""}})},
        {"lead-byte-at-field-end.orx",
         records({"2", "ABCDEFGHIJKLMNOPQRS\x81", "1960\x81", "3", "\x81"})},
        {"lead-byte-before-blanks.orx", records({"2", "\x81 \x81  \x8E", "\x81\x81\x81", "\x81\x40", " \x81"})},
        {"all-ff.orx", std::string(200, '\xFF')},
        {"fc-fc.orx", records({"2", std::string(20, '\xFC'), "\xFC\xFC", "\xFC\xFC\xFC", "1\xFC\xFC"})},
        {"empty-table-cells.orx", records({"2", "\x85\x40\x85\x9E\xEB\x40\xF0\x40", "\xA0\x80\xFD\xFE\xFF", "3", "12"})},
        {"nec-and-ibm-duplicates.orx",
         records({"2", "\x87\x90\x81\xE0\xFA\x40\xEE\xEF\xFB\xFC\xED\x40", "\x87\x54\xFA\x4A", "\x81\x60", "\x81\x5F"})},
        {"half-width-katakana.orx",
         personlist::listFileBytes({{"ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄ", "ﾃﾞﾊﾟ", "ｰ", "ﾟ"}})},
        {"surrogates-written.orx",
         personlist::listFileBytes({{"𠮷野家😀😀", "\xED\xA0\x80\xED\xB0\x80", "\xF4\x90\x80\x80", "\xC0\xAF"}})},
        {"blank-runs.orx", records({"2", "  A  B    C", "", "   ", "\x81\x40 \x81\x40  "})},
        {"count-with-blanks.orx", records({"  2  "}) + personRecords},
        {"count-zero.orx", records({"0"}) + personRecords},
        {"count-not-a-number.orx", records({"ABC"}) + personRecords},
        {"count-full-width.orx", records({"\x82\x51"}) + personRecords},
        {"huge-count.orx", records({"2000000000"}) + personRecords},
        {"count-just-below-the-cap.orx", records({"999999999999999"}) + personRecords},
        {"count-at-the-cap.orx", records({"1000000000000000"}) + personRecords},
        {"count-beyond-64-bits.orx", records({"99999999999999999999"}) + personRecords},
        {"fewer-records-than-the-count.orx", records({"3"}) + personRecords},
        {"last-record-cut-in-its-filler.orx", onePerson.substr(0, onePerson.size() - 1)},
        {"records-after-the-count.orx", onePerson + record("stray") + "partial"},
    };
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    for (const auto& [name, bytes] : seeds()) {
        std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) {
            std::fprintf(stderr, "%s: cannot write\n", (folder / name).c_str());
            return 1;
        }
    }
    return 0;
}
