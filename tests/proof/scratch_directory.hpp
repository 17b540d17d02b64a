// A private working directory for a test that writes init files.
#pragma once

#include <string>
#include <vector>

namespace rizuz::testing {

// A fresh directory that the test works in; the previous working directory
// comes back, and the directory goes away, at the end of the scope.
class ScratchDirectory {
public:
    ScratchDirectory();
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    void WriteFile(const std::string& name, const std::string& content);

private:
    std::string previous_;
    std::string path_;
    std::vector<std::string> files_;
};

}  // namespace rizuz::testing
