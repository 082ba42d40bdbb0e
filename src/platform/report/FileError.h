#pragma once

#include <stdexcept>
#include <string>

namespace report {

// A file the preview could not write or read; the message is for the operator.
class FileError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace report
