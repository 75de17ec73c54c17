#include "shell/preferences_files.h"

#include <unistd.h>

bool saveTextFileReplacing(const std::string& path, const std::function<bool(FILE*)>& writer)
{
    const std::string temporary = path + ".saving";
    FILE* stream = fopen(temporary.c_str(), "wt");
    if (!stream)
        return false;
    bool ok = writer(stream);
    ok = fflush(stream) == 0 && ok;
    ok = fsync(fileno(stream)) == 0 && ok;
    ok = fclose(stream) == 0 && ok;
    if (ok && rename(temporary.c_str(), path.c_str()) == 0)
        return true;
    remove(temporary.c_str());
    return false;
}
