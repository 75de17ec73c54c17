// The benchmark program render_module as a user runs it: a file the engine
// cannot load is said to be so, with a failing exit, not rendered as minutes
// of silence; a song file renders to its length.

#include "model/scratch_folder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>

namespace {

// Its exit status and what it printed on both outputs.
int runRenderModule(const std::string& file, std::string& output)
{
#ifdef QB_RENDER_MODULE
    output.clear();
    FILE* pipe = popen((std::string(QB_RENDER_MODULE) + " '" + file + "' 2>&1").c_str(), "r");
    if (!pipe)
        return -1;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe))
        output += buffer;
    const int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#else
    (void)file;
    (void)output;
    return -1;
#endif
}

} // namespace

TEST(RenderModuleProgram, RefusesAFileItCannotLoadAndRendersASong)
{
#ifndef QB_RENDER_MODULE
    GTEST_SKIP() << "render_module is not built in this build";
#endif
    ScratchFolder folder;
    std::string output;
    const std::string stm = folder.write("song.stm", std::string(1024, '\x01'));
    EXPECT_EQ(runRenderModule(stm, output), 1) << output;
    EXPECT_EQ(output, "render_module: cannot load or play " + stm + "\n");

    const char* data = std::getenv("QB_TEST_DATA");
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(runRenderModule(std::string(data) + "/plugin/tune.zip", output), 0) << output;
    EXPECT_NE(output.find("song_seconds: 4."), std::string::npos) << output;   // its 32 rows of 1/8 s
}
