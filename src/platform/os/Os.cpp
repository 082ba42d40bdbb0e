#include "Os.h"

#include "FileVersion.h"

#include <QApplication>

#include <elf.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <vector>

namespace os {

namespace {

std::string& executableOverride() {
    static std::string path;
    return path;
}

std::function<void()>& alertHandler() {
    static std::function<void()> handler;
    return handler;
}

struct Fd {
    int fd;
    explicit Fd(int f) : fd(f) {}
    ~Fd() {
        if (fd >= 0) ::close(fd);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
};

bool readAt(int fd, void* buffer, std::size_t size, off_t offset) {
    auto* out = static_cast<char*>(buffer);
    while (size > 0) {
        const ssize_t n = ::pread(fd, out, size, offset);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        out += n;
        size -= static_cast<std::size_t>(n);
        offset += n;
    }
    return true;
}

}  // namespace

std::string executablePath() {
    std::error_code ec;
    return std::filesystem::read_symlink("/proc/self/exe", ec).string();
}

std::string executableDirectory() {
    if (!executableOverride().empty()) return executableOverride();
    const std::string path = executablePath();
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

void setExecutableDirectoryForTesting(std::string directory) {
    executableOverride() = std::move(directory);
}

std::optional<std::string> environmentVariable(const std::string& name) {
    const char* value = std::getenv(name.c_str());
    if (value == nullptr) return std::nullopt;
    return std::string(value);
}

bool fileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool directoryExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool createDirectories(const std::string& path) {
    if (path.empty()) return false;
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
    return !ec && directoryExists(path);
}

static bool writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t w = ::write(fd, data, size);
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) return false;
        data += w;
        size -= static_cast<std::size_t>(w);
    }
    return true;
}

bool copyFileNoOverwrite(const std::string& from, const std::string& to) {
    Fd in(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
    if (in.fd < 0) return false;
    struct stat st {};
    if (::fstat(in.fd, &st) != 0 || S_ISDIR(st.st_mode)) return false;
    // O_EXCL makes the refusal atomic: a copy made meanwhile by another process wins.
    Fd out(::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, st.st_mode & 0777));
    if (out.fd < 0) return false;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(in.fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n == 0) return true;
        if (n < 0 || !writeAll(out.fd, buffer, static_cast<std::size_t>(n))) break;
    }
    // Leave no half-written copy behind.
    ::unlink(to.c_str());
    return false;
}

ReplacementFile::ReplacementFile(std::string path) : path_(std::move(path)) {
    const auto slash = path_.rfind('/');
    temp_ = (slash == std::string::npos ? std::string() : path_.substr(0, slash + 1)) +
            ".tmp-XXXXXX";
    fd_ = ::mkstemp(temp_.data());
    if (fd_ < 0) {
        error_ = errno;
        temp_.clear();  // nothing was made, so nothing is to be removed
        return;
    }
    // Keep the mode an existing file had; a new file gets the usual 0666 less umask.
    struct stat st {};
    mode_t mode = 0666;
    if (::stat(path_.c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode &= ~mask;
    }
    if (::fchmod(fd_, mode) != 0) error_ = errno;
}

ReplacementFile::~ReplacementFile() { discard(); }

void ReplacementFile::write(std::string_view data) {
    if (error_ != 0 || fd_ < 0) return;
    errno = 0;
    if (!writeAll(fd_, data.data(), data.size())) error_ = errno != 0 ? errno : EIO;
}

std::optional<std::string> ReplacementFile::failure() const {
    if (error_ == 0) return std::nullopt;
    return std::string(std::strerror(error_));
}

std::optional<std::string> ReplacementFile::commit() {
    if (fd_ >= 0) {
        if (error_ == 0 && ::fsync(fd_) != 0) error_ = errno;
        if (::close(fd_) != 0 && error_ == 0) error_ = errno;
        fd_ = -1;
        if (error_ == 0 && ::rename(temp_.c_str(), path_.c_str()) == 0) {
            temp_.clear();
            return std::nullopt;
        }
        if (error_ == 0) error_ = errno;
    }
    discard();
    return std::string(std::strerror(error_ != 0 ? error_ : EIO));
}

void ReplacementFile::discard() noexcept {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temp_.empty()) ::unlink(temp_.c_str());
    temp_.clear();
}

std::optional<std::string> replaceFile(const std::string& path, std::string_view data) {
    ReplacementFile file(path);
    file.write(data);
    return file.commit();
}

void alertSound() {
    if (alertHandler()) {
        alertHandler()();
    } else if (qApp != nullptr) {
        QApplication::beep();
    }
}

void setAlertSoundHandler(std::function<void()> handler) { alertHandler() = std::move(handler); }

std::optional<FileVersion> readFileVersion(const std::string& path) {
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.fd < 0) return std::nullopt;
    Elf64_Ehdr eh{};
    if (!readAt(fd.fd, &eh, sizeof eh, 0) || std::memcmp(eh.e_ident, ELFMAG, SELFMAG) != 0 ||
        eh.e_ident[EI_CLASS] != ELFCLASS64 || eh.e_shentsize != sizeof(Elf64_Shdr) ||
        eh.e_shstrndx >= eh.e_shnum) {
        return std::nullopt;
    }
    std::vector<Elf64_Shdr> sections(eh.e_shnum);
    if (!readAt(fd.fd, sections.data(), sections.size() * sizeof(Elf64_Shdr),
                static_cast<off_t>(eh.e_shoff))) {
        return std::nullopt;
    }
    const Elf64_Shdr& names = sections[eh.e_shstrndx];
    std::vector<char> strtab(names.sh_size + 1, '\0');
    if (!readAt(fd.fd, strtab.data(), names.sh_size, static_cast<off_t>(names.sh_offset))) {
        return std::nullopt;
    }
    for (const auto& s : sections) {
        if (s.sh_name >= names.sh_size || std::strcmp(&strtab[s.sh_name], kVersionSectionName) != 0) {
            continue;
        }
        FixedFileInfo info{};
        if (s.sh_size < sizeof info ||
            !readAt(fd.fd, &info, sizeof info, static_cast<off_t>(s.sh_offset)) ||
            info.signature != kFixedFileInfoSignature) {
            return std::nullopt;
        }
        return FileVersion{info.fileVersionMS, info.fileVersionLS};
    }
    return std::nullopt;
}

}  // namespace os
