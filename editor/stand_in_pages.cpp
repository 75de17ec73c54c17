#include "editor/page_stand_ins.h"

#include "gui/bitmap.h"
#include "gui/draw_context.h"

#include <cstdio>

bool TesselStandInRecord::called(const std::string& start) const
{
    for (const std::string& call : calls)
        if (call.compare(0, start.size(), start) == 0)
            return true;
    return false;
}

void drawStandIn(CDrawContext* context, const CRect& size, CBitmap* skin, const char* name)
{
    context->setFillColor(CColor{38, 40, 45, 0});
    context->fillRect(CRect(size.left - 1, size.top - 1, size.right, size.bottom));
    if (skin)
        skin->draw(context, CRect(size.left, size.top, size.left + skin->getWidth(), size.top + skin->getHeight()));
    context->setFontColor(CColor{196, 200, 206, 0});
    context->setFont(0, 12);
    context->drawString(name, CRect(size.left + 8, size.top + 20, size.left + 300, size.top + 40), false, kLeftText);
}

std::string callText(const char* name, double a)
{
    char text[96];
    std::snprintf(text, sizeof text, "%s %g", name, a);
    return text;
}

std::string callText(const char* name, double a, double b)
{
    char text[96];
    std::snprintf(text, sizeof text, "%s %g %g", name, a, b);
    return text;
}
