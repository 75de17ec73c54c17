// The product's web page: handed to the desktop's browser when the build
// names an http or https address; nothing opens without one.

#include "editor/core/tessel_editor.h"
#include "platform/status_text.h"
#include "platform/system/helper_process.h"
#include "services/build_settings.h"

namespace {

bool isWebAddress(const std::string& address)
{
    return address.starts_with("http://") || address.starts_with("https://");
}

} // namespace

void TesselEditor::openWebPage()
{
    const std::string address = services::webPageAddress();
    if (!isWebAddress(address))
        return;
    if (!platform::launchDetached({"xdg-open", address}))
        platform::setStatusText("Could not open the web page (xdg-open is missing).");
}

std::string TesselEditor::webPageHint()
{
    const std::string address = services::webPageAddress();
    return isWebAddress(address) ? "Visit " + address : "";
}
