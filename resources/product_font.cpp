#include "resources/product_font.h"

#include "platform/system/folders.h"
#include "platform/system/process_files.h"
#include "resources/resource_ids.h"
#include "resources/resources.h"

#include <cstdio>
#include <fstream>
#include <unistd.h>

namespace resources {

std::string productFontFileName()
{
    return platform::processFileName(getpid(), ".ttf");
}

std::string registerProductFont(platform::FontCatalog& catalog, const std::string& folder)
{
    const auto bytes = loadData(kProductFont);
    if (bytes.empty() || folder.empty())
        return {};
    const std::string path = platform::joinPath(folder, productFontFileName());
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        if (!out.flush()) {
            out.close();
            std::remove(path.c_str());
            return {};
        }
    }
    if (!catalog.addPrivateFont(path)) {
        std::remove(path.c_str());
        return {};
    }
    return path;
}

void unregisterProductFont(platform::FontCatalog& catalog, const std::string& path)
{
    if (path.empty())
        return;
    catalog.removePrivateFont(path);
    std::remove(path.c_str());
}

} // namespace resources
