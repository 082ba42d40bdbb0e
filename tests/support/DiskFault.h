#pragma once

#include "TestSupport.h"

#include <sys/resource.h>

#include <string>
#include <vector>

namespace testsupport {

enum class DiskFault { NotWritable, Full, DirectoryInTheWay };

const char* toString(DiskFault fault);

// A directory holding `fileName` (a file with `previous` as its content, or
// for DirectoryInTheWay a directory of that name) where writing fails in the
// chosen way while the fault is armed. Full is a small tmpfs filled to the
// last byte; NotWritable takes write permission away, also from root (for
// the calling thread's file access).
class FaultyDirectory {
  public:
    FaultyDirectory(DiskFault fault, const std::string& fileName, const std::string& previous);
    ~FaultyDirectory();
    FaultyDirectory(const FaultyDirectory&) = delete;
    FaultyDirectory& operator=(const FaultyDirectory&) = delete;

    // Ends with "/".
    const std::string& path() const noexcept { return path_; }
    std::string file() const { return path_ + fileName_; }
    // The operating system's words for the failure.
    std::string reason() const;

    void arm();
    void disarm();
    // Whether the file (or directory) in the way is as it was.
    bool previousIntact() const;
    // Whatever else lies in the directory now, besides the filler of a full disk.
    std::vector<std::string> strayFiles() const;

  private:
    DiskFault fault_;
    std::string fileName_;
    std::string previous_;
    TempDir base_;
    std::string path_;
    bool mounted_ = false;
    bool armed_ = false;
    rlimit fileSizeLimit_{};
    void (*previousSigxfsz_)(int) = nullptr;
};

}  // namespace testsupport
