// ZIP archives of backups and task packages, and the private staging folder
// they are packed from and unpacked into.
//
// Layout. An archive is a plain ZIP file (libzip, deflate) whose entries are
// whole files: a monthly backup and a task package hold one SQLite database,
// a full backup holds several files under relative names such as
// "KSMoney/KSSYS.MDB". Each entry unpacks byte for byte as packed; libzip
// checks every entry's CRC while it is read and a mismatch refuses the
// archive.
//
// Reading trusts nothing in the file: before a byte is unpacked every entry
// name is checked (relative, no "..", no "\", no empty or "." part, no
// control character), encrypted entries and unknown methods are refused,
// and the declared sizes together must stay below a multiple of the
// archive's own size (a zip bomb is refused before it is inflated, and the
// bytes actually inflated are counted against the declared size as well).
// Files are created only inside the given folder, never over an existing
// file and never through a symbolic link.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace gzgl::exchange {

// An archive that cannot be written or read; what() says why, for the user.
class ArchiveError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A private folder made afresh (mkdtemp, mode 0700) for one operation and
// removed with everything in it when the object goes, whatever happened.
class StagingDir {
public:
    // A folder "KS770GZ_BAK." + pid + ".XXXXXX" under the system temp
    // folder; throws ArchiveError when none can be made. Folders left by
    // processes that were killed (SIGKILL gives no chance to clean up) are
    // removed first.
    StagingDir();
    // A hidden folder "." + stem + ".XXXXXX" inside folder: on the same
    // file system as its final place, so that it can be renamed there.
    StagingDir(const std::string& folder, const std::string& stem);
    ~StagingDir();
    StagingDir(const StagingDir&) = delete;
    StagingDir& operator=(const StagingDir&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    // Keeps the folder: it was renamed into its final place.
    void release() { path_.clear(); }

private:
    std::string path_;
};

struct ArchiveEntry {
    std::string name;       // the entry name, checked with safeEntryName
    std::string sourcePath; // the file packed under it
};

// Writes a ZIP archive at path holding each source file under its entry
// name. The archive is built under a temporary name in path's folder,
// flushed to disk and renamed over path when complete; on any failure the
// temporary file is removed, path is left as it was and ArchiveError is
// thrown.
void writeArchive(const std::string& path, const std::vector<ArchiveEntry>& entries);

struct ArchiveLimits {
    // The declared sizes together may not exceed ratio times the archive's
    // size plus slack.
    std::uint64_t ratio = 200;
    std::uint64_t slack = 16u << 20;
    std::size_t maxEntries = 10000;
};

struct UnpackedEntry {
    std::string name; // as stored in the archive
    std::string path; // folder + "/" + name
    std::uint64_t size = 0;
};

// Whether an entry name may be unpacked below a folder: relative, parts
// separated by "/", none empty, "." or "..", no "\", ":" or control
// character, at most 255 bytes.
bool safeEntryName(std::string_view name);

// Unpacks every entry of the archive at path into folder (which must
// exist), after checking them all. Throws ArchiveError for a file that is
// no ZIP archive, is damaged or truncated, has no entry, an unsafe name, an
// encrypted entry, a size past the limits or a CRC that does not match; the
// files already unpacked are then in folder, which the caller discards.
std::vector<UnpackedEntry> unpackArchive(const std::string& path, const std::string& folder,
                                         const ArchiveLimits& limits = {});

// The same for an archive held in memory.
std::vector<UnpackedEntry> unpackArchiveBytes(std::string_view bytes, const std::string& folder,
                                              const ArchiveLimits& limits = {});

// Flushes a written file to disk; throws ArchiveError when it cannot.
void syncFile(const std::string& path);

} // namespace gzgl::exchange
