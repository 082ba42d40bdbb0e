#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace os {

// Full path of the running executable.
std::string executablePath();
// Directory part of executablePath(), ending with "/".
std::string executableDirectory();
// Tests run the system as if its executable lay in another directory (ending
// with "/"); empty text restores the real one.
void setExecutableDirectoryForTesting(std::string directory);

// The variable's value, or nothing when it is not set.
std::optional<std::string> environmentVariable(const std::string& name);

bool fileExists(const std::string& path);
bool directoryExists(const std::string& path);
// Creates the directory and every missing parent; true when it exists afterwards.
bool createDirectories(const std::string& path);
// Copies a file, refusing to overwrite an existing target. False on any failure.
bool copyFileNoOverwrite(const std::string& from, const std::string& to);

// A file written under a temporary name beside `path` and renamed over it by
// commit(): a failure leaves the previous file as it was and no temporary file
// behind. Writes after a failure do nothing; commit() reports the first one.
class ReplacementFile {
  public:
    explicit ReplacementFile(std::string path);
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;
    // Not committed: the temporary file goes.
    ~ReplacementFile();

    void write(std::string_view data);
    // The operating system's text for the first failure so far.
    std::optional<std::string> failure() const;
    // Flushes to the disk and renames; the operating system's text for a failure.
    std::optional<std::string> commit();

  private:
    void discard() noexcept;

    std::string path_;
    std::string temp_;
    int fd_ = -1;
    int error_ = 0;
};

// The whole of `data` through a ReplacementFile.
std::optional<std::string> replaceFile(const std::string& path, std::string_view data);

// The system's warning sound. Tests replace it to see that it was played.
void alertSound();
void setAlertSoundHandler(std::function<void()> handler);

// File version as the build recorded it in the executable (see FileVersion.h).
struct FileVersion {
    std::uint32_t fileVersionMS = 0;
    std::uint32_t fileVersionLS = 0;
};
std::optional<FileVersion> readFileVersion(const std::string& path);

}  // namespace os
