// The archive reader and writer: files come back byte for byte, and an
// archive that is damaged, truncated, a bomb or tries to leave its folder
// is refused before anything lands outside the folder it is unpacked into.
#include "exchange/archive.h"
#include "support/test_support.h"

#include <gtest/gtest.h>
#include <zip.h>

#include <filesystem>
#include <fstream>
#include <random>

using namespace gzgl;
using namespace gzgl::exchange;
namespace fs = std::filesystem;

namespace {

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeAllText(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// An archive made with libzip directly, so that its entries can carry any
// name and any method.
void rawArchive(const std::string& path, const std::vector<std::pair<std::string, std::string>>& entries,
                bool stored = false) {
    int err = 0;
    zip_t* za = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &err);
    ASSERT_NE(za, nullptr);
    for (const auto& [name, bytes] : entries) {
        zip_source_t* src = zip_source_buffer(za, bytes.data(), bytes.size(), 0);
        const zip_int64_t idx = zip_file_add(za, name.c_str(), src, ZIP_FL_ENC_UTF_8);
        ASSERT_GE(idx, 0) << name;
        if (stored)
            zip_set_file_compression(za, static_cast<zip_uint64_t>(idx), ZIP_CM_STORE, 0);
    }
    ASSERT_EQ(zip_close(za), 0);
}

struct Archive : ::testing::Test {
    test::TempHome dir;
    std::string out() {
        const std::string o = dir.path + "/out";
        fs::create_directories(o);
        return o;
    }
    bool emptyFolder(const std::string& f) { return fs::is_empty(f); }
};

TEST_F(Archive, BinaryFileComesBackByteForByte) {
    std::string bytes(300000, '\0');
    std::mt19937 rng(3);
    for (std::size_t i = 0; i < bytes.size(); i += 1 + rng() % 5)
        bytes[i] = static_cast<char>(rng());
    writeAllText(dir.path + "/a.bin", bytes);
    writeArchive(dir.path + "/a.zip",
                 {{"KSMoney/A.MDB", dir.path + "/a.bin"}, {"B.frm", dir.path + "/a.bin"}});
    const auto entries = unpackArchive(dir.path + "/a.zip", out());
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, "KSMoney/A.MDB");
    EXPECT_EQ(readAll(out() + "/KSMoney/A.MDB"), bytes);
    EXPECT_EQ(readAll(out() + "/B.frm"), bytes);
    // Nothing but the archive was left beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 3);
}

TEST_F(Archive, WriteIntoMissingFolderFailsWithoutLeavingAFile) {
    writeAllText(dir.path + "/a.bin", "x");
    EXPECT_THROW(writeArchive(dir.path + "/none/a.zip", {{"a", dir.path + "/a.bin"}}), ArchiveError);
    // A source that vanished: no archive under the real name, no temporary one.
    EXPECT_THROW(writeArchive(dir.path + "/b.zip", {{"a", dir.path + "/gone.bin"}}), ArchiveError);
    EXPECT_FALSE(fs::exists(dir.path + "/b.zip"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 1);
}

TEST_F(Archive, EntryNamesThatLeaveTheFolderAreRefused) {
    for (const char* bad : {"../evil", "/tmp/evil", "a/../../evil", "a//b", "./a", "a\\..\\b", "c:evil", "a/",
                            "", "dir/..", "x\x01y"})
        EXPECT_FALSE(safeEntryName(bad)) << bad;
    for (const char* good : {"GZ0001_200602.MDB", "KSMoney/KSSYS.MDB", "a.b/c..d"})
        EXPECT_TRUE(safeEntryName(good)) << good;

    for (const char* bad : {"../evil", "/tmp/gzgl-evil-abs", "KSMoney/../../evil"}) {
        const std::string zip = dir.path + "/bad.zip";
        rawArchive(zip, {{"ok.MDB", "fine"}, {bad, "evil"}});
        EXPECT_THROW(unpackArchive(zip, out()), ArchiveError) << bad;
        // The good entry before it was not unpacked either: names are
        // checked first.
        EXPECT_TRUE(emptyFolder(out())) << bad;
        EXPECT_FALSE(fs::exists(dir.path + "/evil"));
        EXPECT_FALSE(fs::exists("/tmp/gzgl-evil-abs"));
    }
}

TEST_F(Archive, DamagedTruncatedAndForeignFilesAreRefused) {
    std::string bytes(20000, 'a');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>('a' + i * 7 % 26);
    const std::string zip = dir.path + "/s.zip";
    rawArchive(zip, {{"a.MDB", bytes}}, true);
    const std::string good = readAll(zip);

    // A flipped byte inside stored data: only the CRC can tell.
    std::string flipped = good;
    flipped[good.find("abcdefg") + 3] ^= 0x01;
    writeAllText(zip, flipped);
    EXPECT_THROW(unpackArchive(zip, out()), ArchiveError);
    fs::remove_all(out());

    writeAllText(zip, good.substr(0, good.size() / 2));
    EXPECT_THROW(unpackArchive(zip, out()), ArchiveError);
    EXPECT_TRUE(emptyFolder(out()));

    writeAllText(zip, "");
    EXPECT_THROW(unpackArchive(zip, out()), ArchiveError);
    writeAllText(zip, "SQLite format 3 and then some bytes that are no archive");
    EXPECT_THROW(unpackArchive(zip, out()), ArchiveError);
    EXPECT_THROW(unpackArchive(dir.path + "/missing.zip", out()), ArchiveError);
    EXPECT_TRUE(emptyFolder(out()));

    // An archive with no entry at all.
    EXPECT_THROW(unpackArchiveBytes(std::string("PK\x05\x06", 4) + std::string(18, '\0'), out()),
                 ArchiveError);
}

TEST_F(Archive, BombIsRefusedBeforeInflating) {
    const std::string zeros(64u << 20, '\0');
    const std::string zip = dir.path + "/bomb.zip";
    rawArchive(zip, {{"big.MDB", zeros}});
    ASSERT_LT(fs::file_size(zip), 1u << 20);
    EXPECT_THROW(unpackArchive(zip, out()), ArchiveError);
    EXPECT_TRUE(emptyFolder(out()));
    // The same bytes pass when the limits allow them.
    EXPECT_EQ(unpackArchive(zip, out(), {1000, 1u << 30, 10}).front().size, zeros.size());
}

TEST_F(Archive, StagingFolderIsPrivateAndGoesAway) {
    std::string path;
    {
        StagingDir st;
        path = st.path();
        EXPECT_EQ(fs::status(path).permissions() & fs::perms::all, fs::perms::owner_all);
        writeAllText(st.file("a"), "x");
        fs::create_directories(st.file("b/c"));
    }
    EXPECT_FALSE(fs::exists(path));
    StagingDir a, b;
    EXPECT_NE(a.path(), b.path());
}

} // namespace
