#pragma once

#include <string_view>

namespace sf {

// While one lives, the file `name` in the folder opened as `folder` is removed
// when SIGINT, SIGTERM or SIGHUP ends the process, so an interrupted write
// leaves no temporary file behind; the process then ends by that signal as it
// would have. A signal whose handling the program has set itself is left to it.
class RemovedOnTermination {
  public:
    RemovedOnTermination(int folder, std::string_view name);
    ~RemovedOnTermination();
    RemovedOnTermination(const RemovedOnTermination&) = delete;
    RemovedOnTermination& operator=(const RemovedOnTermination&) = delete;

  private:
    int slot = -1;
};

}  // namespace sf
