#include "scratch_directory.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cstdio>

namespace rizuz::testing {

ScratchDirectory::ScratchDirectory() {
    char cwd[PATH_MAX];
    if (getcwd(cwd, sizeof cwd) != nullptr) previous_ = cwd;
    char name[] = "/tmp/rizuz-proof-XXXXXX";
    if (mkdtemp(name) != nullptr && chdir(name) == 0) path_ = name;
    EXPECT_FALSE(path_.empty()) << "no scratch directory";
}

ScratchDirectory::~ScratchDirectory() {
    for (const auto& file : files_) std::remove(file.c_str());
    if (!previous_.empty() && chdir(previous_.c_str()) != 0) ADD_FAILURE() << "cannot return to " << previous_;
    if (!path_.empty()) rmdir(path_.c_str());
}

void ScratchDirectory::WriteFile(const std::string& name, const std::string& content) {
    const std::string path = path_ + "/" + name;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr) << path;
    std::fwrite(content.data(), 1, content.size(), file);
    std::fclose(file);
    files_.push_back(path);
}

}  // namespace rizuz::testing
