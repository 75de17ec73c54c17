#include "pagekit/page_globals.h"

#include "gui/offscreen_context.h"

std::atomic<int32_t>& currentPageNumber()
{
    static std::atomic<int32_t> page{-1};
    return page;
}

std::unique_ptr<VSTGUI::COffscreenContext>& pageOffscreen()
{
    static std::unique_ptr<VSTGUI::COffscreenContext> offscreen;
    return offscreen;
}
