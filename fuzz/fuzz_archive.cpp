// libFuzzer target: any bytes as a backup or package archive. The reader
// must refuse or unpack without crashing; whatever it unpacks stays inside
// the staging folder, within the declared and allowed sizes, and comes
// back the same when packed again and read once more.
#include "exchange/archive.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

using namespace gzgl::exchange;
namespace fs = std::filesystem;

namespace {

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

[[noreturn]] void fail(const char* what, const std::string& detail) {
    std::fprintf(stderr, "%s: %s\n", what, detail.c_str());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    StagingDir staging;
    const std::string root = fs::canonical(staging.path()).string();
    const std::string in = staging.file("in");
    fs::create_directory(in);
    // Small limits, so that a bomb is found quickly.
    const ArchiveLimits limits{50, 1u << 20, 64};
    std::vector<UnpackedEntry> entries;
    try {
        entries = unpackArchiveBytes(bytes, in, limits);
    } catch (const ArchiveError&) {
        return 0;
    }
    std::uint64_t total = 0;
    std::vector<ArchiveEntry> again;
    for (const UnpackedEntry& e : entries) {
        if (!safeEntryName(e.name))
            fail("unsafe name unpacked", e.name);
        const std::string real = fs::weakly_canonical(e.path).string();
        if (real.rfind(root + "/in/", 0) != 0)
            fail("file outside the staging folder", real);
        if (fs::file_size(e.path) != e.size)
            fail("size differs", e.name);
        total += e.size;
        again.push_back({e.name, e.path});
    }
    if (total > limits.slack + limits.ratio * size)
        fail("past the limits", std::to_string(total));
    // Packed again and read once more: the same names and bytes.
    const std::string zip = staging.file("again.zip");
    writeArchive(zip, again);
    const std::string out = staging.file("out");
    fs::create_directory(out);
    const auto second = unpackArchive(zip, out, {1000, 1u << 30, 64});
    if (second.size() != entries.size())
        fail("entry count differs", std::to_string(second.size()));
    for (std::size_t i = 0; i < second.size(); ++i)
        if (second[i].name != entries[i].name || readAll(second[i].path) != readAll(entries[i].path))
            fail("entry differs", entries[i].name);
    return 0;
}
