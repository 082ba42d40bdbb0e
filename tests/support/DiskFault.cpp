#include "DiskFault.h"

#include <sys/fsuid.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace testsupport {

namespace {

constexpr const char* kFiller = ".filler";
constexpr uid_t kNobody = 65534;

// Writes until the disk refuses.
void fill(const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    const std::string block(4096, 'f');
    while (out.write(block.data(), static_cast<std::streamsize>(block.size())))
        out.flush();
}

}  // namespace

const char* toString(DiskFault fault) {
    switch (fault) {
        case DiskFault::NotWritable:
            return "not writable";
        case DiskFault::Full:
            return "disk full";
        case DiskFault::DirectoryInTheWay:
            return "directory in the way";
    }
    return "?";
}

FaultyDirectory::FaultyDirectory(DiskFault fault, const std::string& fileName,
                                 const std::string& previous)
    : fault_(fault), fileName_(fileName), previous_(previous), path_(base_.file("disk/")) {
    ::mkdir(path_.c_str(), 0777);
    if (fault_ == DiskFault::Full) {
        // Where mounting is not allowed, a file size limit of nothing stands in
        // for the full disk (the write fails with EFBIG instead of ENOSPC).
        mounted_ = ::mount("tmpfs", path_.c_str(), "tmpfs", 0, "size=64k,mode=0777") == 0;
    }
    if (fault_ == DiskFault::DirectoryInTheWay)
        ::mkdir(file().c_str(), 0755);
    else
        writeFile(file(), previous_);
}

FaultyDirectory::~FaultyDirectory() {
    disarm();
    if (mounted_)
        ::umount2(path_.c_str(), MNT_DETACH);
}

std::string FaultyDirectory::reason() const {
    switch (fault_) {
        case DiskFault::NotWritable:
            return std::strerror(EACCES);
        case DiskFault::Full:
            return std::strerror(mounted_ ? ENOSPC : EFBIG);
        case DiskFault::DirectoryInTheWay:
            return std::strerror(EISDIR);
    }
    return {};
}

void FaultyDirectory::arm() {
    if (armed_)
        return;
    armed_ = true;
    if (fault_ == DiskFault::Full && mounted_) {
        fill(path_ + kFiller);
    } else if (fault_ == DiskFault::Full) {
        ::getrlimit(RLIMIT_FSIZE, &fileSizeLimit_);
        previousSigxfsz_ = ::signal(SIGXFSZ, SIG_IGN);
        const rlimit none{0, fileSizeLimit_.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &none);
    } else if (fault_ == DiskFault::NotWritable) {
        ::chmod(path_.c_str(), 0555);
        if (::geteuid() == 0)
            ::setfsuid(kNobody);  // root would write all the same
    }
}

void FaultyDirectory::disarm() {
    if (!armed_)
        return;
    armed_ = false;
    if (fault_ == DiskFault::NotWritable) {
        if (::geteuid() == 0)
            ::setfsuid(0);
        ::chmod(path_.c_str(), 0777);
    } else if (fault_ == DiskFault::Full && mounted_) {
        std::remove((path_ + kFiller).c_str());
    } else if (fault_ == DiskFault::Full) {
        ::setrlimit(RLIMIT_FSIZE, &fileSizeLimit_);
        ::signal(SIGXFSZ, previousSigxfsz_);
    }
}

bool FaultyDirectory::previousIntact() const {
    if (fault_ == DiskFault::DirectoryInTheWay)
        return std::filesystem::is_directory(file()) && std::filesystem::is_empty(file());
    return readFile(file()) == previous_;
}

std::vector<std::string> FaultyDirectory::strayFiles() const {
    std::vector<std::string> stray;
    for (const auto& e : std::filesystem::directory_iterator(path_)) {
        const std::string name = e.path().filename().string();
        if (name != fileName_ && name != kFiller)
            stray.push_back(name);
    }
    return stray;
}

}  // namespace testsupport
