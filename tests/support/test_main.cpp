#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

// Every test program gets its own settings and temporary folders so that runs
// never read or write the user's real ones, and parallel programs never meet.
// The folder is new for each run: one a crashed program left behind (with its
// crash report) is never taken over by a later program.
int main(int argc, char** argv)
{
    char pattern[] = "/tmp/quorbel-test-XXXXXX";
    if (!mkdtemp(pattern))
        return 1;
    const std::string base = pattern;
    setenv("XDG_CONFIG_HOME", (base + "/config").c_str(), 1);
    setenv("XDG_CONFIG_DIRS", (base + "/xdg").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", (base + "/run").c_str(), 1);
    setenv("QB_NO_NETWORK", "1", 1);
    ::testing::InitGoogleTest(&argc, argv);
    int result = RUN_ALL_TESTS();
    std::string cleanup = "rm -rf '" + base + "'";
    if (std::system(cleanup.c_str()) != 0) {}
    return result;
}
