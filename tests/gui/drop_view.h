#pragma once
// A view that takes drops and writes down what came.

#include "gui/frame/drop_target.h"
#include "gui/frame/view.h"

#include <string>
#include <vector>

class DropView : public CView {
public:
    explicit DropView(const CRect& size) : CView(size) {}
    bool onDrop(void** items, int32_t count, int32_t type, CPoint& where) override
    {
        types.push_back(type);
        this->where = where;
        if (type == UDropTarget::kText) {
            sizes.push_back(count);
            texts.emplace_back(static_cast<const char*>(items[0]));
        } else {
            for (int32_t i = 0; i < count; ++i)
                texts.emplace_back(static_cast<const char*>(items[i]));
        }
        return true;
    }
    std::vector<int32_t> types;
    std::vector<int32_t> sizes;
    std::vector<std::string> texts;
    CPoint where;
};
