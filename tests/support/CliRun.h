#pragma once
// A tavo-cli run in-process over a fresh copy of the sample calibration.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "SampleCalibration.h"
#include "cli/CliCommands.h"
#include "support/TempDir.h"

namespace tavo::test {

class CliRun : public ::testing::Test {
protected:
    TempDir dir;
    std::string out;
    std::string err;

    void SetUp() override { ASSERT_TRUE(sample::writeSampleFiles(dir.path().string())); }

    // Runs tavo-cli with the arguments; out and err hold what it printed.
    int run(const std::vector<std::string>& args)
    {
        std::ostringstream o, e;
        const int code = runCli(args, o, e);
        out = o.str();
        err = e.str();
        return code;
    }
    std::string sample() const { return dir.file("sample.bin"); }
};

}  // namespace tavo::test
