#include "exchange/archive.h"

#include <zip.h>

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>

namespace fs = std::filesystem;

namespace gzgl::exchange {

namespace {

std::string zipMessage(zip_error_t* e) {
    const char* m = zip_error_strerror(e);
    return m ? m : "未知错误";
}

std::string zipMessage(zip_t* za) {
    return zipMessage(zip_get_error(za));
}

std::string makeTemp(const std::string& templ, bool folder) {
    std::string t = templ;
    if (folder) {
        if (!mkdtemp(t.data()))
            throw ArchiveError("不能建立临时文件夹 " + templ + "：" + std::strerror(errno));
        return t;
    }
    const int fd = mkstemp(t.data());
    if (fd < 0)
        throw ArchiveError("不能在 " + fs::path(templ).parent_path().string() + " 中写文件：" +
                           std::strerror(errno));
    ::close(fd);
    return t;
}

// Removes a temporary file unless it was renamed into place.
struct TempFile {
    std::string path;
    ~TempFile() {
        if (!path.empty())
            ::unlink(path.c_str());
    }
};

void syncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        // The rename is on disk once the folder is; a failure here only
        // weakens durability, the archive itself is complete.
        (void)::fsync(fd);
        ::close(fd);
    }
}

struct ZipCloser {
    void operator()(zip_t* za) const { zip_discard(za); }
};
using ZipPtr = std::unique_ptr<zip_t, ZipCloser>;

struct ZipFileCloser {
    void operator()(zip_file_t* f) const { zip_fclose(f); }
};

struct Fd {
    int fd = -1;
    ~Fd() {
        if (fd >= 0)
            ::close(fd);
    }
};

void writeAll(int fd, const char* data, std::size_t n, const std::string& path) {
    while (n > 0) {
        const ssize_t w = ::write(fd, data, n);
        if (w < 0) {
            if (errno == EINTR)
                continue;
            throw ArchiveError("不能写文件 " + path + "：" + std::strerror(errno));
        }
        data += w;
        n -= static_cast<std::size_t>(w);
    }
}

// Makes the folders of an entry name below folder, one part at a time.
void makeParents(const std::string& folder, const std::string& name) {
    std::string at = folder;
    std::size_t start = 0;
    for (std::size_t slash = name.find('/'); slash != std::string::npos; slash = name.find('/', start)) {
        at.append("/").append(name, start, slash - start);
        if (::mkdir(at.c_str(), 0700) != 0 && errno != EEXIST)
            throw ArchiveError("不能建立文件夹 " + at + "：" + std::strerror(errno));
        struct stat st {};
        if (::lstat(at.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
            throw ArchiveError("压缩文件中的名称冲突：" + name);
        start = slash + 1;
    }
}

std::vector<UnpackedEntry> unpack(zip_t* za, std::uint64_t archiveSize, const std::string& folder,
                                  const ArchiveLimits& limits) {
    const zip_int64_t n = zip_get_num_entries(za, 0);
    if (n <= 0)
        throw ArchiveError("压缩文件中没有数据");
    if (static_cast<std::uint64_t>(n) > limits.maxEntries)
        throw ArchiveError("压缩文件中的文件过多");

    // Every entry is checked before anything is unpacked.
    struct Planned {
        zip_uint64_t index;
        std::string name;
        std::uint64_t size;
    };
    std::vector<Planned> plan;
    const std::uint64_t allowed = limits.slack + limits.ratio * archiveSize;
    std::uint64_t total = 0;
    for (zip_int64_t i = 0; i < n; ++i) {
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(za, static_cast<zip_uint64_t>(i), 0, &st) != 0)
            throw ArchiveError("压缩文件已损坏：" + zipMessage(za));
        const zip_uint64_t need =
            ZIP_STAT_NAME | ZIP_STAT_SIZE | ZIP_STAT_COMP_METHOD | ZIP_STAT_ENCRYPTION_METHOD;
        if ((st.valid & need) != need || !st.name)
            throw ArchiveError("压缩文件已损坏");
        const std::string name = st.name;
        if (!safeEntryName(name))
            throw ArchiveError("压缩文件中有不安全的文件名：" + name);
        if (st.encryption_method != ZIP_EM_NONE)
            throw ArchiveError("压缩文件已加密：" + name);
        if (st.comp_method != ZIP_CM_STORE && st.comp_method != ZIP_CM_DEFLATE)
            throw ArchiveError("不支持的压缩方式：" + name);
        if (st.size > allowed || total + st.size > allowed)
            throw ArchiveError("压缩文件解压后过大，不予处理");
        total += st.size;
        plan.push_back({static_cast<zip_uint64_t>(i), name, st.size});
    }

    std::vector<UnpackedEntry> out;
    std::vector<char> buffer(1 << 16);
    for (const Planned& p : plan) {
        makeParents(folder, p.name);
        const std::string target = folder + "/" + p.name;
        Fd out_fd;
        out_fd.fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (out_fd.fd < 0)
            throw ArchiveError("不能解压 " + p.name + "：" + std::strerror(errno));
        std::unique_ptr<zip_file_t, ZipFileCloser> f(zip_fopen_index(za, p.index, 0));
        if (!f)
            throw ArchiveError("压缩文件已损坏：" + zipMessage(za));
        std::uint64_t got = 0;
        for (;;) {
            const zip_int64_t r = zip_fread(f.get(), buffer.data(), buffer.size());
            if (r < 0)
                throw ArchiveError("压缩文件已损坏：" + zipMessage(zip_file_get_error(f.get())));
            if (r == 0)
                break;
            got += static_cast<std::uint64_t>(r);
            // libzip stops at the declared size; counting here keeps that
            // promise whatever the stream holds.
            if (got > p.size)
                throw ArchiveError("压缩文件已损坏：" + p.name + " 的长度不符");
            writeAll(out_fd.fd, buffer.data(), static_cast<std::size_t>(r), target);
        }
        const int closeErr = zip_fclose(f.release());
        if (closeErr != 0)
            throw ArchiveError("压缩文件已损坏：" + p.name + " 的校验不符");
        if (got != p.size)
            throw ArchiveError("压缩文件已损坏：" + p.name + " 的长度不符");
        out.push_back({p.name, target, got});
    }
    return out;
}

} // namespace

namespace {

// Staging folders of processes that were killed: "KS770GZ_BAK." + pid +
// "." + suffix, where no process of that id runs any more.
void sweepOrphans(const fs::path& temp) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(temp, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("KS770GZ_BAK.", 0) != 0)
            continue;
        const std::size_t dot = name.find('.', 12);
        if (dot == std::string::npos || dot == 12)
            continue;
        const std::string pid = name.substr(12, dot - 12);
        if (pid.find_first_not_of("0123456789") != std::string::npos || pid.size() > 9)
            continue;
        struct stat st {};
        if (::lstat(entry.path().c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid())
            continue;
        if (::kill(static_cast<pid_t>(std::stol(pid)), 0) != 0 && errno == ESRCH)
            fs::remove_all(entry.path(), ec);
    }
}

} // namespace

StagingDir::StagingDir() {
    const fs::path temp = fs::temp_directory_path();
    sweepOrphans(temp);
    path_ = makeTemp((temp / ("KS770GZ_BAK." + std::to_string(::getpid()) + ".XXXXXX")).string(), true);
}

StagingDir::StagingDir(const std::string& folder, const std::string& stem) {
    path_ = makeTemp(folder + "/." + stem + ".XXXXXX", true);
}

StagingDir::~StagingDir() {
    if (path_.empty())
        return;
    std::error_code ec;
    fs::remove_all(path_, ec);
}

bool safeEntryName(std::string_view name) {
    if (name.empty() || name.size() > 255 || name.front() == '/' || name.back() == '/')
        return false;
    for (char c : name)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f || c == '\\' || c == ':')
            return false;
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t slash = name.find('/', start);
        if (slash == std::string_view::npos)
            slash = name.size();
        const std::string_view part = name.substr(start, slash - start);
        if (part.empty() || part == "." || part == "..")
            return false;
        start = slash + 1;
    }
    return true;
}

void syncFile(const std::string& path) {
    Fd f;
    f.fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (f.fd < 0 || ::fsync(f.fd) != 0)
        throw ArchiveError("不能写文件 " + path + "：" + std::strerror(errno));
}

void writeArchive(const std::string& path, const std::vector<ArchiveEntry>& entries) {
    if (entries.empty())
        throw ArchiveError("没有要压缩的文件");
    const fs::path target(path);
    const std::string folder = target.parent_path().empty() ? "." : target.parent_path().string();
    TempFile tmp;
    tmp.path = makeTemp(folder + "/." + target.filename().string() + ".XXXXXX", false);

    int err = 0;
    ZipPtr za(zip_open(tmp.path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &err));
    if (!za) {
        zip_error_t e;
        zip_error_init_with_code(&e, err);
        const std::string m = zipMessage(&e);
        zip_error_fini(&e);
        throw ArchiveError("不能建立压缩文件 " + path + "：" + m);
    }
    for (const ArchiveEntry& entry : entries) {
        if (!safeEntryName(entry.name))
            throw ArchiveError("不安全的文件名：" + entry.name);
        zip_source_t* src = zip_source_file_create(entry.sourcePath.c_str(), 0, -1, nullptr);
        if (!src)
            throw ArchiveError("不能读文件 " + entry.sourcePath);
        const zip_int64_t idx = zip_file_add(za.get(), entry.name.c_str(), src, ZIP_FL_ENC_UTF_8);
        if (idx < 0) {
            zip_source_free(src);
            throw ArchiveError("不能压缩 " + entry.sourcePath + "：" + zipMessage(za.get()));
        }
        // The fastest deflate level: database pages shrink nearly as well
        // and a month of ten thousand employees is packed in well under a
        // second.
        if (zip_set_file_compression(za.get(), static_cast<zip_uint64_t>(idx), ZIP_CM_DEFLATE, 1) != 0)
            throw ArchiveError("不能压缩 " + entry.sourcePath + "：" + zipMessage(za.get()));
    }
    // zip_close writes the whole archive (through a temporary file of its
    // own) and frees the handle only when it succeeds.
    if (zip_close(za.get()) != 0)
        throw ArchiveError("不能写压缩文件 " + path + "：" + zipMessage(za.get()));
    za.release();
    // mkstemp made the file private; an archive gets the usual mode.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::chmod(tmp.path.c_str(), 0666 & ~mask);
    syncFile(tmp.path);
    if (::rename(tmp.path.c_str(), path.c_str()) != 0)
        throw ArchiveError("不能写压缩文件 " + path + "：" + std::strerror(errno));
    tmp.path.clear();
    syncFolder(folder);
}

std::vector<UnpackedEntry> unpackArchive(const std::string& path, const std::string& folder,
                                         const ArchiveLimits& limits) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        throw ArchiveError("找不到压缩文件 " + path);
    int err = 0;
    ZipPtr za(zip_open(path.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &err));
    if (!za) {
        zip_error_t e;
        zip_error_init_with_code(&e, err);
        const std::string m = zipMessage(&e);
        zip_error_fini(&e);
        throw ArchiveError("压缩文件已损坏或不是压缩文件：" + m);
    }
    return unpack(za.get(), static_cast<std::uint64_t>(st.st_size), folder, limits);
}

std::vector<UnpackedEntry> unpackArchiveBytes(std::string_view bytes, const std::string& folder,
                                              const ArchiveLimits& limits) {
    zip_error_t e;
    zip_error_init(&e);
    zip_source_t* src = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &e);
    if (!src) {
        const std::string m = zipMessage(&e);
        zip_error_fini(&e);
        throw ArchiveError(m);
    }
    ZipPtr za(zip_open_from_source(src, ZIP_RDONLY | ZIP_CHECKCONS, &e));
    if (!za) {
        zip_source_free(src);
        const std::string m = zipMessage(&e);
        zip_error_fini(&e);
        throw ArchiveError("压缩文件已损坏或不是压缩文件：" + m);
    }
    zip_error_fini(&e);
    return unpack(za.get(), bytes.size(), folder, limits);
}

} // namespace gzgl::exchange
